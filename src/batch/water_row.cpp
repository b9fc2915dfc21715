#include "batch/water_row.h"

#include "analysis/ion_units.h"
#include "analysis/normalize.h"
#include "app/number_format.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace zeb::batch {

namespace {

using W = app::WaterAnalysis;

// The ranges of validity the analysis form checks when a field is left.
constexpr long double kMinPH = 4.3L;
constexpr long double kMinKs43 = 0.05L;
constexpr long double kMaxTemperature = 90.0L;
constexpr long double kMaxIonicStrength = 50.0L;

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool IsDerived(std::string W::*member) {
    return member == &W::hardnessMmol || member == &W::hardnessDH || member == &W::cO2Demand ||
           member == &W::massO2Demand;
}

bool IsToken(std::string W::*member) {
    return member == &W::condRefTemp || member == &W::dicMode || member == &W::iosMode;
}

// The number of a cell as the entry field reads it, or nullopt when the cell is not a number.
// A comma is a decimal separator only in files that use ";" between fields; elsewhere "1,234"
// could be a thousands separator, so it is refused rather than guessed.
std::optional<std::string> NumberText(std::string_view cell, bool decimalComma) {
    std::string text(cell);
    const auto comma = text.find(',');
    if (comma != std::string::npos) {
        if (!decimalComma || text.find('.') != std::string::npos)
            return std::nullopt;
        text[comma] = '.';
    }
    int errorPos = 0;
    const long double x = app::ParseNumber(text, &errorPos);
    if (errorPos != 0)
        return std::nullopt;
    return app::NormalizedNumber(x);
}

// Decimals written in a number cell: how finely the laboratory rounded it.
int DecimalsOf(std::string_view cell) {
    const auto sep = cell.find_first_of(".,");
    if (sep == std::string_view::npos)
        return 0;
    int n = 0;
    for (std::size_t i = sep + 1; i < cell.size() && std::isdigit((unsigned char)cell[i]); ++i)
        ++n;
    return n;
}

// Whether c (mmol/L, given to dc decimals) and m (mg/L, to dm decimals) can be the same amount:
// the intervals their rounding leaves overlap.
bool UnitsAgree(long double c, int dc, long double m, int dm, long double molarMass) {
    const long double hc = 0.5L * std::pow(10.0L, -std::min(dc, 3));
    const long double hm = 0.5L * std::pow(10.0L, -std::min(dm, 3));
    const long double slack = 1e-9L;
    return (c - hc) * molarMass <= m + hm + slack && m - hm - slack <= (c + hc) * molarMass;
}

} // namespace

std::string MessageText(const RowMessage& m, app::Language language) {
    std::string text(app::Text(m.key, language));
    for (std::size_t i = 0; i < m.args.size(); ++i) {
        const std::string mark = "%" + std::to_string(i + 1);
        const auto at = text.find(mark);
        if (at != std::string::npos)
            text.replace(at, mark.size(), m.args[i]);
    }
    if (m.domain)
        return results::DomainMessage(*m.domain, text, language);
    return text;
}

std::string MessageLine(const RowMessage& m, app::Language language) {
    if (m.column.empty() || m.domain)
        return MessageText(m, language);
    std::string line = m.column;
    if (!m.value.empty())
        line += " " + m.value;
    return line + ": " + MessageText(m, language);
}

ColumnMap ColumnMap::FromHeader(const std::vector<std::string>& header) {
    const auto fields = app::WaterAnalysisFields();
    ColumnMap map;
    std::vector<bool> seen(fields.size(), false);
    bool any = false;
    for (std::size_t col = 0; col < header.size(); ++col) {
        std::string name(Trim(header[col]));
        map.names_.push_back(name);
        const std::string key = Lower(name);
        int field = -1;
        if (key == "id") {
            if (map.idColumn_ >= 0)
                throw ColumnError("msg.batchDuplicateColumn", name);
            map.idColumn_ = static_cast<int>(col);
            any = true;
        } else {
            for (std::size_t f = 0; f < fields.size(); ++f) {
                if (Lower(fields[f].name) == key)
                    field = static_cast<int>(f);
            }
            if (field >= 0 && seen[field])
                throw ColumnError("msg.batchDuplicateColumn", name);
            if (field >= 0 && IsDerived(fields[field].member)) {
                map.notes_.push_back({name, "", "msg.batchDerivedColumn", {}});
                seen[field] = true;
                field = -1;
            } else if (field >= 0) {
                seen[field] = true;
                any = true;
            } else if (!name.empty()) {
                map.notes_.push_back({name, "", "msg.batchUnknownColumn", {}});
            }
        }
        map.fieldOfColumn_.push_back(field);
    }
    if (!any)
        throw ColumnError("msg.batchNoColumns", "");
    return map;
}

WaterRow ReadWaterRow(const ColumnMap& columns, const CsvDialect& dialect,
                      const std::vector<std::string>& cells) {
    const auto fields = app::WaterAnalysisFields();
    WaterRow row;
    app::SetDefaultWater(row.water);
    W& w = row.water;
    if (columns.idColumn() >= 0 && columns.idColumn() < static_cast<int>(cells.size()))
        row.id = std::string(Trim(cells[columns.idColumn()]));

    const std::size_t known = columns.fieldOfColumn().size();
    for (std::size_t col = known; col < cells.size(); ++col) {
        if (!Trim(cells[col]).empty()) {
            row.error = RowMessage{"",
                                   std::string(Trim(cells[col])),
                                   "msg.batchTooManyFields",
                                   {std::to_string(known)}};
            return row;
        }
    }

    // The cells as given, kept for the unit comparison: which fields a row names, and how
    // finely.
    std::vector<std::string> given(fields.size());
    std::vector<bool> has(fields.size(), false);
    for (std::size_t col = 0; col < std::min(known, cells.size()); ++col) {
        const int f = columns.fieldOfColumn()[col];
        if (f < 0)
            continue;
        const std::string_view cell = Trim(cells[col]);
        const std::string& name = columns.names()[col];
        std::string W::*member = fields[f].member;
        if (member == &W::text) {
            w.text = std::string(cell);
            continue;
        }
        if (cell.empty())
            continue; // the default water's value
        if (IsToken(member)) {
            const std::string token = Lower(cell);
            std::string value;
            if (member == &W::condRefTemp) {
                const auto number = NumberText(cell, dialect.decimalComma);
                if (number && app::ParseNumber(*number) == 20)
                    value = "20";
                else if (number && app::ParseNumber(*number) == 25)
                    value = "25";
            } else if (member == &W::dicMode && (token == "dic" || token == "ksb")) {
                value = token == "dic" ? "DIC" : "KSB";
            } else if (member == &W::iosMode && (token == "ios" || token == "zeb")) {
                value = token == "ios" ? "IOS" : "ZEB";
            }
            if (value.empty()) {
                const char* allowed = member == &W::condRefTemp ? "20, 25"
                                      : member == &W::dicMode   ? "DIC, KSB"
                                                                : "IOS, ZEB";
                row.error = RowMessage{name, std::string(cell), "msg.batchBadToken", {allowed}};
                return row;
            }
            w.*member = value;
            continue;
        }
        const auto number = NumberText(cell, dialect.decimalComma);
        if (!number) {
            row.error = RowMessage{name, std::string(cell), "msg.batchNotNumber", {}};
            return row;
        }
        w.*member = *number;
        given[f] = std::string(cell);
        has[f] = true;
    }

    auto indexOf = [&](std::string W::*member) {
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (fields[f].member == member)
                return f;
        }
        return fields.size();
    };
    auto nameOf = [&](std::size_t f) {
        for (std::size_t col = 0; col < known; ++col) {
            if (columns.fieldOfColumn()[col] == static_cast<int>(f))
                return columns.names()[col];
        }
        return std::string(fields[f].name);
    };

    // A concentration in one unit is completed in the other as the form converts it; given in
    // both, mmol/L holds.
    for (const analysis::IonRow& ion : analysis::IonRows()) {
        const std::size_t fc = indexOf(ion.mmol), fm = indexOf(ion.mass);
        if (has[fc] && !has[fm]) {
            w.*ion.mass = analysis::MassText(w.*ion.mmol, ion.molarMass);
        } else if (has[fm] && !has[fc]) {
            w.*ion.mmol = analysis::MmolText(w.*ion.mass, ion.molarMass);
        } else if (has[fc] && has[fm]) {
            const long double c = app::ParseNumber(w.*ion.mmol);
            const long double m = app::ParseNumber(w.*ion.mass);
            if (!UnitsAgree(c, DecimalsOf(given[fc]), m, DecimalsOf(given[fm]), ion.molarMass)) {
                const std::string expected = analysis::MassText(w.*ion.mmol, ion.molarMass);
                row.warnings.push_back(
                    {nameOf(fm),
                     given[fm],
                     "msg.batchUnitsDisagree",
                     {std::string(Trim(w.*ion.mmol)), std::string(Trim(w.*ion.mass)),
                      std::string(Trim(expected))}});
            }
            w.*ion.mass = analysis::MassText(w.*ion.mmol, ion.molarMass);
        }
    }
    const analysis::OxygenDemandTexts demand =
        analysis::OxygenDemand(w.massNH4, w.massFe, w.massMn);
    w.cO2Demand = demand.mmol;
    w.massO2Demand = demand.mass;

    // The ranges of validity, as the form checks a field when it is left.
    auto value = [](const std::string& text) { return app::ParseNumber(text); };
    auto warn = [&](std::string W::*member, std::string_view key) {
        const std::size_t f = indexOf(member);
        row.warnings.push_back(
            {nameOf(f), has[f] ? given[f] : std::string(Trim(w.*member)), key, {}});
    };
    if (value(w.pH) < kMinPH) {
        warn(&W::pH, "msg.rangePH");
        w.pH = app::FormatFixed(kMinPH, 8, 3);
    }
    for (std::string W::*t : {&W::tempPH, &W::tempTitr43, &W::tempTitr82, &W::tempCalc}) {
        if (value(w.*t) > kMaxTemperature)
            warn(t, "msg.rangeTemperature");
    }
    if (value(w.ks43) < kMinKs43) {
        warn(&W::ks43, "msg.rangeKs43");
        w.ks43 = app::FormatFixed(kMinKs43, 8, 3);
    }
    if (value(w.iosInput) > kMaxIonicStrength)
        warn(&W::iosInput, "msg.rangeIonicStrength");
    // The form will not keep the DIC option without a DIC value.
    if (w.dicMode == "DIC" && value(w.dic) == 0) {
        warn(&W::dicMode, "msg.dicRequiresValue");
        w.dicMode = "KSB";
    }

    analysis::NormalizeAllFields(w);
    for (const app::WaterField& f : fields) {
        if (f.member != &W::text)
            w.*f.member = app::CutValueText(w.*f.member);
    }

    // The notices the form gives when it closes.
    if (w.iosMode != "IOS" && value(w.iosInput) == 0)
        warn(&W::iosInput, "msg.iosZero");
    if (value(w.tempCalc) == 0)
        warn(&W::tempCalc, "msg.tcalcZero");
    return row;
}

} // namespace zeb::batch
