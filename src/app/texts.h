#pragma once
// The language table: every text the program shows, in German and in English, in one place.
// Applying a language means looking its texts up here; nothing else in the program spells a
// user-visible text of its own.
//
// Texts are stored exactly as shown, blanks included (a leading blank usually means the text
// follows a file name or a letter, a trailing one that something is appended). UTF-8.
//
// Key convention (keys are guessed from it, so keep to it when adding entries):
//   file.<name>                    project-file signature lines, default file name, file filters
//   menu.<item>                    main-menu captions with their "&" access keys; the item is named
//                                  after its handler without "Click" (menu.Oeffnen1, menu.CalcitA),
//                                  the menus themselves menu.File, menu.Edit, menu.Calculation,
//                                  menu.Extras and menu.Help ("?")
//   msg.<camelCase>                message boxes, range messages, notices, the "Modified" status
//   <FormName>.Caption             a window's caption
//   <FormName>.<control>           a window's labels, check boxes, radio buttons, buttons and
//                                  headings. Controls named by the program keep that name
//                                  (TForm1.CheckBox2, TForm7.Button1); others get a camelCase name:
//                                    labelX    the label of an input X (TForm1 uses the
//                                              WaterAnalysis field names: labelKs43, labelTempCalc)
//                                    rowX      the label of a result row (TForm4.rowMValue)
//                                    headingX  a heading; the pair column headings are
//                                              headingKs43Kb82, headingKs43PH, headingKb82PH,
//                                              headingKs43Dic, headingDicPH, headingKb82Dic
//                                    buttonX   a button (buttonOk, buttonCancel, buttonQuit,
//                                              buttonRun, buttonSave, buttonPrint)
//                                    radioX, checkX, pageX for radio buttons, check boxes, pages
//   report.<FormName>.<name>       headings and row labels of that window's printed/saved report
//   batch.<name>                   headings of the batch result table (colX) and its sheet name
//   report.common.<name>           report texts shared by several reports (state of saturation of
//                                  one water and of the blend): input rows, ion rows, the
//                                  three-column rows and the dosage tables
//
// Window groups: TForm20 (main window), TForm1 (analysis data), TForm2 (analysis check),
// TForm3 (conditioning), TForm4 (state of saturation), TForm7 (blend fractions), TForm8 (carbonic
// acid species), TForm9 / TForm10 (dosage up to pH 7.8 / SI 0), TForm11 (saturation of blend),
// TForm12 (species concentrations), TForm13 (constants), TForm15 (blend series), TForm16 (W 216),
// TForm17 (report file format), TForm30, TForm40, TForm43..TForm46, TForm53..TForm55 (results
// after dosage), TForm35 (compile data), TForm_Info1 (About), TForm_Optionen (Options),
// TProgress (progress window).
//
// Report row labels include their indent and padding as they are written; report headings
// (upper-case section titles) are stored without the 8-blank indent the report puts before them.

#include <span>
#include <string_view>

namespace zeb::app {

enum class Language { German, English };

struct TextEntry {
    std::string_view key;
    std::string_view german;
    std::string_view english;
};

// The whole table, sorted by key; keys are unique and no text is empty.
std::span<const TextEntry> TextTable();

// The text of `key`; an unknown key throws std::out_of_range naming the key.
std::string_view GermanText(std::string_view key);
std::string_view EnglishText(std::string_view key);
std::string_view Text(std::string_view key, Language lang);

} // namespace zeb::app
