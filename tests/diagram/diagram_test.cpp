// The diagrams' geometry against the engine's own numbers: the curve is where the engine puts
// SI = 0, the water's points and the paths' ends are the saturation windows' values, and the
// series chart carries the series.
#include "../common/test_support.h"
#include "diagram/chart.h"
#include "diagram/equilibrium.h"
#include "results/blend_saturation.h"
#include "results/blend_series.h"
#include "results/saturation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zeb::diagram {
namespace {

using app::WaterId;

const EquilibriumDiagram& DiagramA() {
    static const EquilibriumDiagram d = ComputeWaterDiagram(test::ExampleWater(WaterId::A), "A");
    return d;
}

const EquilibriumDiagram& DiagramBlend() {
    static const EquilibriumDiagram d =
        ComputeBlendDiagram({test::ExampleWater(WaterId::A), test::ExampleWater(WaterId::B),
                             test::ExampleWater(WaterId::C)});
    return d;
}

// The ionic-strength treatment of a column, as the curve search uses it.
ColumnState StateOfColumn(const app::WaterAnalysis& water, int k) {
    const results::WaterInputs in = results::ParseWaterInputs(water);
    const results::ColumnSolution s = results::SolveColumn(in, k);
    return {s.species, s.mValue, s.dic, in.tCalc, in.ionicStrength};
}

void ExpectCurveAtEquilibrium(const EquilibriumDiagram& d) {
    ASSERT_GE(d.curve.size(), 60u);
    for (std::size_t i = 0; i < d.curve.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_LT(std::fabs(d.curve[i].si), EquilibriumDiagram::kCurveSiTolerance);
        EXPECT_GT(d.curve[i].co2, 0);
        if (i > 0) {
            EXPECT_GT(d.curve[i].ks43, d.curve[i - 1].ks43);
            // More hydrogen carbonate needs more carbonic acid to stay in equilibrium.
            EXPECT_GT(d.curve[i].co2, d.curve[i - 1].co2);
        }
    }
}

TEST(EquilibriumDiagram, CurvePointsHaveSaturationIndexZero) {
    ExpectCurveAtEquilibrium(DiagramA());
    ExpectCurveAtEquilibrium(DiagramBlend());
}

TEST(EquilibriumDiagram, CurveKeepsTheFamilyOfTheWater) {
    // Only CaCO3 and CO2 change along the curve: KS 4.3 - 2 Ca stays that of the water.
    const EquilibriumDiagram& d = DiagramA();
    const WaterPoint& w = d.columns[d.curveColumn].point;
    for (const WaterPoint& p : d.curve)
        EXPECT_NEAR(p.ks43 - 2 * p.calcium, w.ks43 - 2 * w.calcium, 1e-12);
}

TEST(EquilibriumDiagram, WaterPointsAreTheSaturationColumns) {
    const app::WaterAnalysis water = test::ExampleWater(WaterId::A);
    const results::WaterSaturation sat = results::ComputeSaturation(water);
    const EquilibriumDiagram& d = DiagramA();
    ASSERT_TRUE(d.computed);
    ASSERT_EQ(d.columns.size(), 3u);
    EXPECT_EQ(d.temperature, sat.tCalc);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const WaterColumn& c = d.columns[k];
        EXPECT_EQ(c.column, k);
        EXPECT_EQ(c.point.ks43, sat.columns[k].mValue);
        EXPECT_EQ(c.point.dic, sat.columns[k].dic);
        EXPECT_EQ(c.point.pH, sat.columns[k].pH);
        EXPECT_EQ(c.point.si, sat.columns[k].si);
        // Free CO2 and hydrogen carbonate are the speciation at that pH.
        const results::ColumnSolution s = results::SolveColumn(results::ParseWaterInputs(water), k);
        EXPECT_EQ(c.point.co2, s.species[chem::slot::Co2]);
        EXPECT_EQ(c.point.co2Mg, s.species[chem::slot::Co2] * kCo2MolarMass);
        EXPECT_EQ(c.point.hco3, s.species[chem::slot::Hco3]);
    }
}

TEST(EquilibriumDiagram, PathsEndWhereTheDosageTablesSay) {
    const results::WaterSaturation sat = results::ComputeSaturation(test::ExampleWater(WaterId::A));
    for (const WaterColumn& c : DiagramA().columns) {
        ASSERT_EQ(c.paths.size(), 7u);
        for (const DosePath& p : c.paths) {
            SCOPED_TRACE(std::string(c.name) + " " + std::string(chem::ChemicalName(p.chemical)));
            const results::DosageValues& table =
                sat.dosage.at(chem::Target::SI0, p.chemical, c.column);
            EXPECT_EQ(p.doseMmol, table.doseMmol);
            EXPECT_EQ(p.doseMg, table.doseMg);
            ASSERT_EQ(p.points.size(), static_cast<std::size_t>(kPathSteps + 2));
            EXPECT_EQ(p.points.front().pH, c.point.pH);
            const WaterPoint& end = p.points.back();
            EXPECT_NEAR(static_cast<double>(end.ks43), static_cast<double>(table.mValue), 1e-15);
            EXPECT_NEAR(static_cast<double>(end.ks43 - end.dic), static_cast<double>(table.pValue),
                        1e-12);
            EXPECT_NEAR(static_cast<double>(end.pH), static_cast<double>(table.pH), 1e-5);
            EXPECT_LT(std::fabs(end.si), 1e-4);
        }
    }
}

TEST(EquilibriumDiagram, CalciumAndCarbonicAcidPathsEndOnTheCurve) {
    // CaCO3, Ca(OH)2 and CO2 keep the water in its family, so they end on its curve; the
    // curve point at their KS 4.3 has their free CO2.
    const EquilibriumDiagram& d = DiagramA();
    const WaterColumn& c = d.columns[d.curveColumn];
    const ColumnState state = StateOfColumn(test::ExampleWater(WaterId::A), d.curveColumn);
    for (chem::Chemical chemical :
         {chem::Chemical::CaCO3, chem::Chemical::CaOH2, chem::Chemical::CO2}) {
        SCOPED_TRACE(std::string(chem::ChemicalName(chemical)));
        const WaterPoint& end = c.paths[static_cast<int>(chemical)].points.back();
        WaterPoint onCurve;
        ASSERT_TRUE(EquilibriumPoint(state, end.ks43, onCurve));
        EXPECT_NEAR(static_cast<double>(onCurve.co2), static_cast<double>(end.co2), 1e-5);
        EXPECT_NEAR(static_cast<double>(onCurve.pH), static_cast<double>(end.pH), 1e-4);
    }
    // The water itself lies above or below the curve as its SI says.
    const std::optional<double> curveY = CurveYAt(d, Axes::Ks43Co2, XOf(c.point, Axes::Ks43Co2));
    ASSERT_TRUE(curveY);
    EXPECT_EQ(YOf(c.point, Axes::Ks43Co2) > *curveY, c.point.si < 0);
}

TEST(EquilibriumDiagram, EquilibriumPointRefusesWaterWithoutCalcium) {
    const ColumnState state = StateOfColumn(test::ExampleWater(WaterId::A), 0);
    WaterPoint p;
    const long double noCalcium = state.mValue - 2 * state.species[chem::slot::CaTotal];
    EXPECT_FALSE(EquilibriumPoint(state, noCalcium - 0.01L, p));
    EXPECT_FALSE(EquilibriumPoint(state, 0, p));
    EXPECT_TRUE(EquilibriumPoint(state, state.mValue, p));
}

TEST(EquilibriumDiagram, BlendPointsAreTheBlendColumns) {
    const std::array<app::WaterAnalysis, 3> waters{test::ExampleWater(WaterId::A),
                                                   test::ExampleWater(WaterId::B),
                                                   test::ExampleWater(WaterId::C)};
    const results::BlendSaturation sat = results::ComputeBlendSaturation(waters);
    const EquilibriumDiagram& d = DiagramBlend();
    ASSERT_TRUE(sat.computed);
    ASSERT_TRUE(d.computed);
    EXPECT_EQ(d.title, "M");
    EXPECT_EQ(d.temperature, sat.blend.blendTemp);
    ASSERT_EQ(d.columns.size(), 3u);
    for (const WaterColumn& c : d.columns) {
        EXPECT_EQ(c.point.ks43, sat.columns[c.column].mValue);
        EXPECT_EQ(c.point.pH, sat.columns[c.column].pH);
        EXPECT_EQ(c.point.si, sat.columns[c.column].si);
        EXPECT_EQ(c.paths[0].doseMmol, sat.columns[c.column].dcMmol);
    }
}

TEST(EquilibriumDiagram, NothingComputedBehindTheGate) {
    app::WaterAnalysis water = test::ExampleWater(WaterId::A);
    water.ks43 = "   0.000";
    const EquilibriumDiagram d = ComputeWaterDiagram(water, "A");
    EXPECT_FALSE(d.computed);
    EXPECT_TRUE(d.columns.empty());
    EXPECT_TRUE(d.curve.empty());
}

// ---- chart geometry --------------------------------------------------------------------------

TEST(ChartAxes, TicksAreRoundNumbersInsideTheRange) {
    struct Case {
        Range range;
        std::vector<double> ticks;
    };
    const Case cases[] = {
        {{0, 10}, {0, 2, 4, 6, 8, 10}},
        {{0, 1}, {0, 0.2, 0.4, 0.6, 0.8, 1.0}},
        {{2.13, 2.91}, {2.2, 2.4, 2.6, 2.8}},
        {{-12, 31}, {-10, 0, 10, 20, 30}},
        {{7.0, 8.5}, {7.0, 7.25, 7.5, 7.75, 8.0, 8.25, 8.5}},
    };
    for (const Case& c : cases) {
        const std::vector<double> ticks = Ticks(c.range);
        ASSERT_EQ(ticks.size(), c.ticks.size()) << c.range.min << " " << c.range.max;
        for (std::size_t i = 0; i < ticks.size(); ++i)
            EXPECT_NEAR(ticks[i], c.ticks[i], 1e-12);
        const Range r = Rounded(c.range);
        EXPECT_LE(r.min, c.range.min);
        EXPECT_GE(r.max, c.range.max);
    }
}

TEST(ChartAxes, FramesHoldTheWaterAndGrowToTheWholeCurve) {
    const EquilibriumDiagram& d = DiagramA();
    for (Axes axes : {Axes::Ks43Co2, Axes::Hco3Co2}) {
        const Frame focus = FocusFrame(d, axes);
        for (const WaterColumn& c : d.columns)
            for (const DosePath& p : c.paths)
                for (const WaterPoint& w : p.points) {
                    EXPECT_TRUE(focus.x.contains(XOf(w, axes)));
                    EXPECT_TRUE(focus.y.contains(YOf(w, axes)));
                }
        const Frame whole = WholeFrame(d, axes);
        EXPECT_EQ(whole.x.min, 0);
        EXPECT_EQ(whole.y.min, 0);
        for (const WaterPoint& w : d.curve) {
            EXPECT_TRUE(whole.x.contains(XOf(w, axes)));
            EXPECT_TRUE(whole.y.contains(YOf(w, axes)));
        }
        // Every zoom level holds the one before.
        Frame previous = ZoomFrame(d, axes, 0);
        for (int level = 1; level < kZoomLevels; ++level) {
            const Frame f = ZoomFrame(d, axes, level);
            EXPECT_LE(f.x.min, previous.x.min);
            EXPECT_GE(f.x.max, previous.x.max);
            EXPECT_LE(f.y.min, previous.y.min);
            EXPECT_GE(f.y.max, previous.y.max);
            previous = f;
        }
    }
}

TEST(ChartAxes, RegionLabelsLieOnTheirSideOfTheCurve) {
    const EquilibriumDiagram& d = DiagramA();
    for (Axes axes : {Axes::Ks43Co2, Axes::Hco3Co2})
        for (int level = 0; level < kZoomLevels; ++level) {
            const Frame f = ZoomFrame(d, axes, level);
            const RegionLabels labels = PlaceRegionLabels(d, axes, f);
            ASSERT_TRUE(labels.aggressive && labels.depositing) << level;
            EXPECT_GT((*labels.aggressive)[1], *CurveYAt(d, axes, (*labels.aggressive)[0]));
            EXPECT_LT((*labels.depositing)[1], *CurveYAt(d, axes, (*labels.depositing)[0]));
        }
}

TEST(ChartTexts, LabelsInBothLanguages) {
    const EquilibriumDiagram& d = DiagramA();
    const EquilibriumTexts de = TextsFor(d, Axes::Ks43Co2, app::Language::German);
    const EquilibriumTexts en = TextsFor(d, Axes::Hco3Co2, app::Language::English);
    EXPECT_EQ(de.aggressive, "SI < 0: kalklösend (aggressiv)");
    EXPECT_EQ(en.depositing, "SI > 0: calcite-depositing");
    EXPECT_EQ(de.yAxis, "freies CO2  [mg/L]");
    EXPECT_EQ(en.xAxis, "c(HCO3-)  [mmol/L]");
    EXPECT_EQ(de.title, "Kalk-Kohlensäure-Gleichgewicht  Wasser A");
    DosePath path;
    path.chemical = chem::Chemical::CaCO3MgO;
    path.doseMg = 12.3456L;
    EXPECT_EQ(PathLabel(path, app::Language::English), "CaCO3 MgO  +12.346 mg/L");
    path.doseMg = -0.5L;
    EXPECT_EQ(PathLabel(path, app::Language::German), "CaCO3 MgO  -0.500 mg/L");
}

// ---- blend series ------------------------------------------------------------------------

TEST(SeriesChart, CarriesTheSeriesValues) {
    const results::BlendSeriesResult series =
        results::ComputeBlendSeries(test::ExampleWater(WaterId::A), test::ExampleWater(WaterId::B));
    const SeriesChart c = MakeSeriesChart(series);
    ASSERT_TRUE(c.computed);
    for (int j = 0; j < results::kBlendSeriesSteps; ++j) {
        EXPECT_EQ(c.share[j], 100 - 10 * j);
        for (int k = 0; k < results::kBlendColumnCount; ++k) {
            EXPECT_EQ(c.pH[k][j], static_cast<double>(series.columns[j].pH[k]));
            EXPECT_EQ(c.dcMg[k][j], static_cast<double>(series.columns[j].dcMg[k]));
            EXPECT_TRUE(c.pHRange.contains(c.pH[k][j]));
            EXPECT_TRUE(c.dcRange.contains(c.dcMg[k][j]));
        }
    }
    for (double v : {0.0, 5.0, 10.0})
        EXPECT_TRUE(c.dcRange.contains(v));
}

TEST(SeriesChart, ShareWhereDcChangesSign) {
    struct Case {
        std::array<double, 11> dc;
        std::optional<double> share;
    };
    const Case cases[] = {
        // From depositing (100 % first water) to aggressive: crossing between 70 % and 60 %.
        {{-5, -4, -3, -1, 3, 5, 6, 7, 8, 9, 10}, 67.5},
        {{-5, -4, -3, 0, 3, 5, 6, 7, 8, 9, 10}, 70.0},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, std::nullopt},
        {{4, 2, -2, -4, -5, -6, -7, -8, -9, -10, -11}, 85.0},
    };
    for (const Case& c : cases) {
        results::BlendSeriesResult series;
        series.computed = true;
        for (int j = 0; j < 11; ++j) {
            series.columns[j].share1 = 100 - 10 * j;
            series.columns[j].pH = {7.5L, 7.5L, 7.5L};
            series.columns[j].dcMg = {c.dc[j], c.dc[j], c.dc[j]};
        }
        const SeriesChart chart = MakeSeriesChart(series);
        ASSERT_EQ(chart.dcZeroShare[1].has_value(), c.share.has_value());
        if (c.share)
            EXPECT_NEAR(*chart.dcZeroShare[1], *c.share, 1e-12);
    }
}

} // namespace
} // namespace zeb::diagram
