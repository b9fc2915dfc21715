#pragma once
// Rows and blocks several reports write alike: values in the windows' format, the analysis
// inputs, the ion rows and the dosage tables.

#include "app/project.h"
#include "app/texts.h"
#include "report/report_text.h"
#include "results/saturation.h"

#include <array>
#include <string>
#include <string_view>

namespace zeb::report {

inline const std::string kIndentText(kIndent);

inline std::string Blanks(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

// A value as the windows show it: 3 decimals in width 8.
std::string Fixed3(long double x);

// Three values two blanks apart: the three columns of a result window.
std::string ThreeValues(long double a, long double b, long double c);
template <class Column, class Get>
std::string ThreeColumns(const std::array<Column, 3>& columns, Get get) {
    return ThreeValues(get(columns[0]), get(columns[1]), get(columns[2]));
}

// A row label padded to 18 characters (characters, not bytes).
std::string RowLabel(std::string_view text);

// pH, its temperature, (conductivity,) KS 4.3, KB 8.2, KS 8.2 with their titration temperatures
// and DIC: the stored texts of the analysis from line 13 on. Returns the line after them.
int WriteAnalysisInputs(ReportText& report, const app::WaterAnalysis& water, bool conductivity,
                        app::Language language);

// "c(Na)  <mmol>  mmol/L  ß(Na)  <mass>  mg/L" for the ions in the order of the analysis form:
// Na, K, Ca, Mg, Cl, NO3, SO4, PO4, NH4, Fe, Mn.
inline constexpr int kIonRowCount = 11;
std::string IonRow(int ion, std::string_view mmol, std::string_view mass, app::Language language);

// The dosage tables as lines firstLine to firstLine + 89: the doses to SI = 0, the pH, ionic
// strength, m-value, p-value and sodium after them, then the doses to pH 7.8 and the same four
// blocks after them, each block after an empty line.
inline constexpr int kDosageBlockLines = 90;
void WriteDosageTables(ReportText& report, int firstLine, const results::DosageTables& dosage,
                       app::Language language);

} // namespace zeb::report
