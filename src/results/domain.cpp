#include "results/domain.h"

#include "app/number_format.h"
#include "results/conditioning.h"

#include <cmath>

namespace zeb::results {

namespace {

struct FieldLimit {
    std::string_view label; // as the project file labels the field
    std::string app::WaterAnalysis::*member;
    const DomainLimit* limit;
};

// In the order of the project file, so the first violation a user meets is the topmost.
const FieldLimit kWaterFields[] = {
    {"pH", &app::WaterAnalysis::pH, &kPHLimit},
    {"T pH", &app::WaterAnalysis::tempPH, &kTemperatureLimit},
    {"k", &app::WaterAnalysis::conductivity, &kConductivityLimit},
    {"KS 4.3", &app::WaterAnalysis::ks43, &kConcentrationLimit},
    {"KB 8.2", &app::WaterAnalysis::kb82, &kConcentrationLimit},
    {"KS 8.2", &app::WaterAnalysis::ks82, &kConcentrationLimit},
    {"T ti8.2", &app::WaterAnalysis::tempTitr82, &kTemperatureLimit},
    {"DIC", &app::WaterAnalysis::dic, &kConcentrationLimit},
    {"T bew", &app::WaterAnalysis::tempCalc, &kTemperatureLimit},
    {"IOS", &app::WaterAnalysis::iosInput, &kIonicStrengthLimit},
    {"c(Na)", &app::WaterAnalysis::cNa, &kConcentrationLimit},
    {"c(K)", &app::WaterAnalysis::cK, &kConcentrationLimit},
    {"c(Ca)", &app::WaterAnalysis::cCa, &kConcentrationLimit},
    {"c(Mg)", &app::WaterAnalysis::cMg, &kConcentrationLimit},
    {"c(Cl)", &app::WaterAnalysis::cCl, &kConcentrationLimit},
    {"c(NO3)", &app::WaterAnalysis::cNO3, &kConcentrationLimit},
    {"c(SO4)", &app::WaterAnalysis::cSO4, &kConcentrationLimit},
    {"c(PO4)", &app::WaterAnalysis::cPO4, &kConcentrationLimit},
    {"c(NH4)", &app::WaterAnalysis::cNH4, &kConcentrationLimit},
    {"T ti4.3", &app::WaterAnalysis::tempTitr43, &kTemperatureLimit},
    {"c(Fe)", &app::WaterAnalysis::cFe, &kConcentrationLimit},
    {"c(Mn)", &app::WaterAnalysis::cMn, &kConcentrationLimit},
};

bool Within(long double x, const DomainLimit& limit) {
    return std::isfinite(x) && x >= limit.min && x <= limit.max;
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::optional<DomainViolation> Check(std::string part, std::string_view label,
                                     const std::string& text, const DomainLimit& limit) {
    if (Within(app::ParseNumber(text), limit))
        return std::nullopt;
    return DomainViolation{std::move(part), std::string(label), Trimmed(text), limit, nullptr};
}

std::string Letter(app::WaterId id) {
    return std::string(1, app::WaterLetter(id));
}

std::string LimitText(long double x) {
    return Trimmed(app::FormatFixed(x, 0, 0));
}

} // namespace

std::optional<DomainViolation> CheckWaterDomain(const app::WaterAnalysis& water, app::WaterId id) {
    for (const FieldLimit& f : kWaterFields) {
        // The measured DIC counts only in DIC mode, the entered ionic strength only when it is
        // not computed.
        if ((f.member == &app::WaterAnalysis::dic && water.dicMode != "DIC") ||
            (f.member == &app::WaterAnalysis::iosInput && water.iosMode == "IOS"))
            continue;
        if (auto v = Check(Letter(id), f.label, water.*f.member, *f.limit)) {
            v->member = f.member;
            return v;
        }
    }
    return std::nullopt;
}

std::optional<DomainViolation> CheckSingleWaterDomain(const app::Project& project,
                                                      app::WaterId id) {
    return CheckWaterDomain(project.water(id), id);
}

std::optional<DomainViolation> CheckBlendDomain(const std::array<app::WaterAnalysis, 3>& waters) {
    for (app::WaterId id : app::kAllWaters) {
        const app::WaterAnalysis& w = waters[static_cast<std::size_t>(id)];
        if (auto v = Check(Letter(id), "%", w.blendPercent, kShareLimit))
            return v;
        if (app::ParseNumber(w.blendPercent) == 0.0L)
            continue;
        if (auto v = CheckWaterDomain(w, id))
            return v;
    }
    return std::nullopt;
}

std::optional<DomainViolation> CheckSeriesDomain(const app::WaterAnalysis& first,
                                                 app::WaterId firstId,
                                                 const app::WaterAnalysis& second,
                                                 app::WaterId secondId) {
    if (auto v = CheckWaterDomain(first, firstId))
        return v;
    return CheckWaterDomain(second, secondId);
}

std::optional<DomainViolation> CheckConditioningDomain(const app::ConditioningData& data) {
    // The window stores absolute values of what it reads, so only the magnitudes are checked;
    // the message quotes the text as stored.
    app::ConditioningData normalized = data;
    NormalizeConditioningInputs(normalized);
    using D = app::ConditioningData;
    struct Field {
        std::string_view label;
        std::string D::*member;
        const DomainLimit* limit;
    };
    static const Field kFields[] = {
        {"tm", &D::tm, &kConcentrationLimit},       {"tC", &D::tC, &kConcentrationLimit},
        {"T", &D::T, &kTemperatureLimit},           {"IOS", &D::IOS, &kIonicStrengthLimit},
        {"c(Na)", &D::cNa, &kConcentrationLimit},   {"c(K)", &D::cK, &kConcentrationLimit},
        {"c(Ca)", &D::cCa, &kConcentrationLimit},   {"c(Mg)", &D::cMg, &kConcentrationLimit},
        {"c(Cl)", &D::cCl, &kConcentrationLimit},   {"c(NO3)", &D::cNO3, &kConcentrationLimit},
        {"c(SO4)", &D::cSO4, &kConcentrationLimit}, {"c(PO4)", &D::cPO4, &kConcentrationLimit},
        {"c(x)", &D::cx, &kConcentrationLimit},     {"V(x)", &D::Vx, &kVolumeLimit},
    };
    for (const Field& f : kFields) {
        if (!Within(app::ParseNumber(normalized.*f.member), *f.limit))
            return DomainViolation{"msg.domainConditioning", std::string(f.label),
                                   Trimmed(data.*f.member), *f.limit, nullptr};
    }
    return std::nullopt;
}

std::string DomainMessage(const DomainViolation& v, app::Language lang) {
    const std::string part = v.part.size() == 1 ? std::string(app::Text("msg.water", lang)) + v.part
                                                : std::string(app::Text(v.part, lang));
    return DomainMessage(v, part, lang);
}

std::string DomainMessage(const DomainViolation& v, std::string_view part, app::Language lang) {
    std::string text = std::string(part) + ": " + v.field + " = " +
                       (v.value.empty() ? "\"\"" : v.value) +
                       std::string(app::Text("msg.domainOutside", lang)) + LimitText(v.limit.min) +
                       std::string(app::Text("msg.domainTo", lang)) + LimitText(v.limit.max);
    if (!v.limit.unit.empty())
        text += " " + std::string(v.limit.unit);
    return text + ").";
}

} // namespace zeb::results
