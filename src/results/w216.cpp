#include "results/w216.h"

#include "app/number_format.h"
#include "chem/numeric.h"

#include <cmath>

namespace zeb::results {

namespace {

using app::W216Data;

constexpr long double kFlagLimit = 1.0L;
constexpr long double kMaxShare = 100.0L;

// Value indices of row r (0..6) in column I and II.
constexpr int kRowIndex[kW216RowCount][2] = {
    {W216Data::O2First, W216Data::O2Second},   {W216Data::Ks43First, W216Data::Ks43Second},
    {W216Data::ClFirst, W216Data::ClSecond},   {W216Data::SO4First, W216Data::SO4Second},
    {W216Data::PO4First, W216Data::PO4Second}, {W216Data::DOCFirst, W216Data::DOCSecond},
    {W216Data::QAFirst, W216Data::QASecond},
};
constexpr int kQARow = 6;

int ValueIndex(int row, W216Column column) {
    return kRowIndex[row][static_cast<int>(column)];
}

std::string WholeShareText(long double share) {
    return app::FormatFixed(RoundHalfEven(share), 8, 0);
}

// One blend: the share of I in `shareI`, that of II in `shareII`.
std::string_view NormalizeShare(W216Data& data, int shareI, int shareII,
                                std::string_view messageKey) {
    std::string& text = data.values[shareI];
    app::NormalizeNumberText(text);
    long double share = app::ParseNumber(text);
    std::string_view message;
    if (share > kMaxShare) {
        share = kMaxShare;
        message = messageKey;
    }
    text = WholeShareText(share);
    // II from I before rounding, rounded by the same rule, so the two always add up to 100.
    data.values[shareII] = WholeShareText(kMaxShare - share);
    return message;
}

const app::WaterAnalysis* SourceWater(std::string_view letter,
                                      const std::array<app::WaterAnalysis, 3>& waters) {
    if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'C')
        return nullptr;
    return &waters[static_cast<std::size_t>(letter[0] - 'A')];
}

} // namespace

std::string_view W216RowName(int row) {
    static constexpr std::string_view kNames[kW216RowCount] = {"O2",  "KS4.3", "Cl", "SO4",
                                                               "PO4", "TOC",   "qA"};
    return row >= 0 && row < kW216RowCount ? kNames[row] : std::string_view();
}

long double W216Weight(int row, long double c) {
    if (c < 0.0L)
        c = 0.0L;
    switch (row) {
    case 0:
        return 1.967L * chem::Power(c, 0.29L);
    case 1:
        return 1.509L * chem::Power(c, 0.556L);
    case 2:
        return 0.609L * chem::Power(c, 0.818L);
    case 3:
        return 1.643L * chem::Power(c, 0.59L);
    case 4:
        return 0.612L * chem::Power(1000.0L * c, 0.443L);
    case 5:
        return 0.5L * c + 0.5L;
    case 6:
        return 1.998L * chem::Power(c, 0.379L);
    default:
        return 0.0L;
    }
}

long double RoundHalfEven(long double x) {
    const long double lower = std::floor(x);
    const long double fraction = x - lower;
    if (fraction > 0.5L)
        return lower + 1.0L;
    if (fraction < 0.5L)
        return lower;
    return std::fmod(lower, 2.0L) == 0.0L ? lower : lower + 1.0L;
}

std::string W216QAText(std::string_view ks43, std::string_view cl, std::string_view so4) {
    const long double ks = app::ParseNumber(ks43);
    if (!(ks > 0.0L))
        return {};
    const long double qa = (app::ParseNumber(cl) + 2.0L * app::ParseNumber(so4)) / ks;
    return app::FormatFixed(qa, 8, 3);
}

void UpdateW216QA(W216Data& data) {
    for (W216Column c : {W216Column::I, W216Column::II}) {
        data.values[ValueIndex(kQARow, c)] =
            W216QAText(data.values[ValueIndex(1, c)], data.values[ValueIndex(2, c)],
                       data.values[ValueIndex(3, c)]);
    }
}

std::vector<std::string_view> NormalizeW216Shares(W216Data& data) {
    std::vector<std::string_view> messages;
    for (std::string_view m :
         {NormalizeShare(data, W216Data::Share1First, W216Data::Share2First, "msg.rangeFraction1"),
          NormalizeShare(data, W216Data::Share1Second, W216Data::Share2Second,
                         "msg.rangeFraction2")}) {
        if (!m.empty())
            messages.push_back(m);
    }
    return messages;
}

void NormalizeW216Values(W216Data& data) {
    for (int row = 0; row < kQARow; ++row) {
        for (W216Column c : {W216Column::I, W216Column::II})
            app::NormalizeNumberText(data.values[ValueIndex(row, c)]);
    }
    UpdateW216QA(data);
}

std::vector<std::string_view> NormalizeW216Inputs(W216Data& data) {
    std::vector<std::string_view> messages = NormalizeW216Shares(data);
    NormalizeW216Values(data);
    return messages;
}

void LoadW216Column(W216Data& data, W216Column column, const app::WaterAnalysis& water) {
    const std::string* const sources[kQARow] = {&water.oxygen, &water.ks43, &water.cCl,
                                                &water.cSO4,   &water.cPO4, &water.toc};
    for (int row = 0; row < kQARow; ++row)
        data.values[ValueIndex(row, column)] = app::CutValueText(*sources[row]);
    data.values[ValueIndex(kQARow, column)] = W216QAText(water.ks43, water.cCl, water.cSO4);
}

bool W216MinMaxMode(const W216Data& data) {
    return data.values[W216Data::Letter1] == "M";
}

W216Result ComputeW216(const W216Data& data, const std::array<app::WaterAnalysis, 3>& waters) {
    W216Result r;
    r.inputs = data;
    W216Data& in = r.inputs;
    r.messageKeys = NormalizeW216Inputs(in);
    r.minMax = W216MinMaxMode(in);
    if (!r.minMax) {
        if (const app::WaterAnalysis* w = SourceWater(in.values[W216Data::Letter1], waters)) {
            LoadW216Column(in, W216Column::I, *w);
            r.textI = w->text;
        }
        if (const app::WaterAnalysis* w = SourceWater(in.values[W216Data::Letter2], waters)) {
            LoadW216Column(in, W216Column::II, *w);
            r.textII = w->text;
        }
    }

    r.shareI1 = app::ParseNumber(in.values[W216Data::Share1First]);
    r.shareII1 = app::ParseNumber(in.values[W216Data::Share2First]);
    r.shareI2 = app::ParseNumber(in.values[W216Data::Share1Second]);
    r.shareII2 = app::ParseNumber(in.values[W216Data::Share2Second]);
    const long double a1 = r.shareI1 / 100.0L, b1 = r.shareII1 / 100.0L;
    const long double a2 = r.shareI2 / 100.0L, b2 = r.shareII2 / 100.0L;

    for (int row = 0; row < kW216RowCount; ++row) {
        W216RowResult& x = r.rows[row];
        // Row 7 mixes linearly like the others; an empty row 7 reads as 0.
        x.valueI = app::ParseNumber(in.values[ValueIndex(row, W216Column::I)]);
        x.valueII = app::ParseNumber(in.values[ValueIndex(row, W216Column::II)]);
        x.blend1 = x.valueI * a1 + x.valueII * b1;
        x.blend2 = x.valueI * a2 + x.valueII * b2;
        x.p1 = W216Weight(row, x.blend1);
        x.p2 = W216Weight(row, x.blend2);
        x.difference = std::fabs(x.p1 - x.p2);
        x.flagged = x.difference > kFlagLimit;
    }
    return r;
}

} // namespace zeb::results
