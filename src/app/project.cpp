#include "app/project.h"

namespace zeb::app {

namespace {

const std::string kZero = "   0.000";

#define ZEB_FIELD(f)                                                                               \
    WaterField {                                                                                   \
#f, &WaterAnalysis::f                                                                      \
    }
constexpr std::array<WaterField, 44> kWaterFields{
    ZEB_FIELD(text),         ZEB_FIELD(pH),           ZEB_FIELD(tempPH),
    ZEB_FIELD(tempCalc),     ZEB_FIELD(conductivity), ZEB_FIELD(ks43),
    ZEB_FIELD(tempTitr43),   ZEB_FIELD(kb82),         ZEB_FIELD(ks82),
    ZEB_FIELD(tempTitr82),   ZEB_FIELD(dic),          ZEB_FIELD(toc),
    ZEB_FIELD(oxygen),       ZEB_FIELD(iosInput),     ZEB_FIELD(cNa),
    ZEB_FIELD(cK),           ZEB_FIELD(cCa),          ZEB_FIELD(cMg),
    ZEB_FIELD(cCl),          ZEB_FIELD(cNO3),         ZEB_FIELD(cSO4),
    ZEB_FIELD(cPO4),         ZEB_FIELD(cNH4),         ZEB_FIELD(cFe),
    ZEB_FIELD(cMn),          ZEB_FIELD(cO2Demand),    ZEB_FIELD(massNa),
    ZEB_FIELD(massK),        ZEB_FIELD(massCa),       ZEB_FIELD(massMg),
    ZEB_FIELD(massCl),       ZEB_FIELD(massNO3),      ZEB_FIELD(massSO4),
    ZEB_FIELD(massPO4),      ZEB_FIELD(massNH4),      ZEB_FIELD(massFe),
    ZEB_FIELD(massMn),       ZEB_FIELD(massO2Demand), ZEB_FIELD(condRefTemp),
    ZEB_FIELD(dicMode),      ZEB_FIELD(iosMode),      ZEB_FIELD(blendPercent),
    ZEB_FIELD(hardnessMmol), ZEB_FIELD(hardnessDH),
};
#undef ZEB_FIELD

constexpr std::array<ConditioningField, 15> kConditioningFields{{
    {"tm", &ConditioningData::tm},
    {"tC", &ConditioningData::tC},
    {"T", &ConditioningData::T},
    {"IOS", &ConditioningData::IOS},
    {"c(Na)", &ConditioningData::cNa},
    {"c(K)", &ConditioningData::cK},
    {"c(Ca)", &ConditioningData::cCa},
    {"c(Mg)", &ConditioningData::cMg},
    {"c(Cl)", &ConditioningData::cCl},
    {"c(NO3)", &ConditioningData::cNO3},
    {"c(SO4)", &ConditioningData::cSO4},
    {"c(PO4)", &ConditioningData::cPO4},
    {"chemical", &ConditioningData::chemical},
    {"c(x)", &ConditioningData::cx},
    {"V(x)", &ConditioningData::Vx},
}};

} // namespace

std::span<const WaterField> WaterAnalysisFields() {
    return kWaterFields;
}
std::span<const ConditioningField> ConditioningFields() {
    return kConditioningFields;
}

void SetDefaultWater(WaterAnalysis& water) {
    for (const WaterField& f : kWaterFields)
        water.*f.member = kZero;
    water.text.clear();
    water.pH = "   7.000";
    water.tempCalc = "  10.000";
    water.ks43 = "   0.100";
    water.condRefTemp = "25";
    water.dicMode = "KSB";
    water.iosMode = "IOS";
}

void SetDefaultConditioning(ConditioningData& data) {
    for (const ConditioningField& f : kConditioningFields)
        data.*f.member = kZero;
    data.text.clear();
    data.chemical = "CaCO3";
}

void SetDefaultW216(W216Data& data) {
    data.reserved.clear();
    data.text.clear();
    for (auto& v : data.values)
        v = kZero;
    data.values[W216Data::Ks43First] = "   0.100";
    data.values[W216Data::Ks43Second] = "   0.100";
    data.values[W216Data::Share1First] = "     100";
    data.values[W216Data::Share2First] = "       0";
    data.values[W216Data::Share1Second] = "       0";
    data.values[W216Data::Share2Second] = "     100";
    data.values[W216Data::Letter1] = "A";
    data.values[W216Data::Letter2] = "B";
}

char WaterLetter(WaterId id) {
    return static_cast<char>('A' + static_cast<int>(id));
}

Project::Project() {
    SetDefaults();
}

void Project::SetDefaults() {
    for (auto& w : parts.waters)
        SetDefaultWater(w);
    SetDefaultConditioning(parts.conditioning);
    SetDefaultW216(parts.w216);
    TakeReferenceCopies();
}

void Project::TakeReferenceCopies() {
    referenceCopy = parts;
}

bool Project::CheckModified(std::string_view blendFieldA, std::string_view blendFieldB) {
    bool differs = false;
    for (int i = 0; i < 3 && !differs; ++i) {
        for (const WaterField& f : kWaterFields) {
            if (f.member == &WaterAnalysis::blendPercent)
                continue;
            if (parts.waters[i].*f.member != referenceCopy.waters[i].*f.member) {
                differs = true;
                break;
            }
        }
    }
    if (parts.conditioning != referenceCopy.conditioning || parts.w216 != referenceCopy.w216)
        differs = true;
    if (referenceCopy.waters[0].blendPercent != blendFieldA)
        differs = true;
    else if (referenceCopy.waters[1].blendPercent != blendFieldB)
        differs = true;
    if (differs)
        modified = true;
    return differs;
}

} // namespace zeb::app
