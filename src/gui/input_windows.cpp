#include "gui/input_windows.h"

#include "app/number_format.h"
#include "gui/analysis_check_window.h"
#include "gui/analysis_form.h"
#include "gui/blend_fractions_window.h"
#include "gui/carbonic_window.h"
#include "gui/compile_window.h"
#include "gui/conditioning_window.h"
#include "gui/constants_window.h"
#include "gui/main_window.h"
#include "gui/w216_window.h"

namespace zeb::gui {

namespace {

// Help contexts of the windows.
constexpr int kHelpAnalysis = 7;
constexpr int kHelpCheck = 6;
constexpr int kHelpConditioning = 17;
constexpr int kHelpBlendFractions = 11;
constexpr int kHelpCarbonic = 18;
constexpr int kHelpConstants = 8;
constexpr int kHelpW216 = 16;
constexpr int kHelpCompile = 20;

std::array<std::string, 3> Shares(const std::array<app::WaterAnalysis, 3>& waters) {
    return {waters[0].blendPercent, waters[1].blendPercent, waters[2].blendPercent};
}

void EditAnalysis(MainWindow& main, AnalysisForm& form, app::WaterId id) {
    app::Project& p = main.project();
    const auto i = static_cast<size_t>(id);
    const QString suffix = QStringLiteral(" ") + QChar::fromLatin1(app::WaterLetter(id));
    main.RunEditingWindow(form, suffix, true,
                          {[&] {
                               p.editingCopy.waters[i] = p.water(id);
                               form.LoadAnalysisForm(p.editingCopy.waters[i]);
                           },
                           [&] {
                               form.StoreAnalysisForm(p.editingCopy.waters[i]);
                               p.water(id) = p.editingCopy.waters[i];
                           },
                           [&] { p.editingCopy.waters[i] = p.water(id); }});
}

void EditBlendFractions(MainWindow& main, BlendFractionsWindow& window) {
    app::Project& p = main.project();
    main.RunEditingWindow(
        window, QString(), false,
        {[&] {
             p.editingCopy.waters = p.parts.waters;
             window.SetWaterTexts(
                 {p.parts.waters[0].text, p.parts.waters[1].text, p.parts.waters[2].text});
             window.SetShares(Shares(p.parts.waters));
         },
         [&] {
             const std::array<std::string, 3> shares = window.shares();
             for (size_t i = 0; i < 3; ++i) {
                 p.editingCopy.waters[i].blendPercent = app::CutValueText(shares[i]);
                 p.parts.waters[i].blendPercent = p.editingCopy.waters[i].blendPercent;
             }
         },
         [&] {
             for (size_t i = 0; i < 3; ++i)
                 p.editingCopy.waters[i].blendPercent = p.parts.waters[i].blendPercent;
             // The change check reads the fields: after Cancel they show the project's shares
             // again, so a cancelled edit never counts as a change.
             window.SetShares(Shares(p.parts.waters));
         }});
}

} // namespace

InputWindows InstallInputWindows(MainWindow& main) {
    Dialogs& dialogs = main.dialogs();
    const app::Project& project = main.project();
    InputWindows w{};
    w.analysis = new AnalysisForm(dialogs, &main);
    w.conditioning = new ConditioningWindow(dialogs, main.reports(), project, &main);
    w.blendFractions = new BlendFractionsWindow(&main);
    w.carbonic = new CarbonicWindow(dialogs, &main);
    w.constants = new ConstantsWindow(dialogs, &main);
    w.w216 = new W216Window(dialogs, main.reports(), project, &main);
    w.compile = new CompileWindow(dialogs, main.project(), &main);

    main.RegisterWindow(w.analysis, kHelpAnalysis);
    main.RegisterWindow(&w.analysis->checkWindow(), kHelpCheck);
    main.RegisterWindow(w.conditioning, kHelpConditioning);
    main.RegisterWindow(w.blendFractions, kHelpBlendFractions);
    main.RegisterWindow(w.carbonic, kHelpCarbonic);
    main.RegisterWindow(w.constants, kHelpConstants);
    main.RegisterWindow(w.w216, kHelpW216);
    main.RegisterWindow(w.compile, kHelpCompile);

    const auto header = [&main] {
        return CurrentReportHeader(main.reportHeaderLine(), main.project());
    };
    w.conditioning->SetReportHeaderSource(header);
    w.w216->SetReportHeaderSource(header);

    // The change check compares the blend shares as the fields of the blend window show them.
    BlendFractionsWindow* blend = w.blendFractions;
    main.SetBlendFieldsSource([blend] {
        const std::array<std::string, 3> s = blend->shares();
        return std::pair{s[0], s[1]};
    });
    QObject::connect(&main, &MainWindow::projectReplaced, blend, [&main, blend] {
        blend->SetShares(Shares(main.project().referenceCopy.waters));
    });
    blend->SetShares(Shares(main.project().referenceCopy.waters));

    for (auto [command, id] : {std::pair{Command::AnalysenwerteA, app::WaterId::A},
                               std::pair{Command::AnalysenwerteB, app::WaterId::B},
                               std::pair{Command::AnalysenwerteC, app::WaterId::C}}) {
        main.SetCommandHandler(
            command, [&main, form = w.analysis, id = id] { EditAnalysis(main, *form, id); });
    }
    main.SetCommandHandler(Command::Mischungsanteile,
                           [&main, blend] { EditBlendFractions(main, *blend); });

    main.SetCommandHandler(Command::Conditioning, [&main, window = w.conditioning] {
        app::Project& p = main.project();
        main.RunEditingWindow(*window, QString(), true,
                              {[&] {
                                   p.editingCopy.conditioning = p.parts.conditioning;
                                   window->LoadConditioningForm(p.editingCopy.conditioning);
                               },
                               [&] {
                                   window->StoreConditioningForm(p.editingCopy.conditioning);
                                   p.parts.conditioning = p.editingCopy.conditioning;
                               },
                               [&] { p.editingCopy.conditioning = p.parts.conditioning; }});
    });
    main.SetCommandHandler(Command::W216, [&main, window = w.w216] {
        app::Project& p = main.project();
        main.RunEditingWindow(*window, QString(), true,
                              {[&] {
                                   p.editingCopy.w216 = p.parts.w216;
                                   window->LoadW216Form(p.editingCopy.w216);
                               },
                               [&] {
                                   window->StoreW216Form(p.editingCopy.w216);
                                   p.parts.w216 = p.editingCopy.w216;
                               },
                               [&] { p.editingCopy.w216 = p.parts.w216; }});
    });

    main.SetCommandHandler(Command::Kohlensaeureformen1,
                           [&main, window = w.carbonic] { main.RunModal(*window); });
    main.SetCommandHandler(Command::Konstanten,
                           [&main, window = w.constants] { main.RunModal(*window); });
    main.SetCommandHandler(Command::Daten, [&main, window = w.compile] {
        if (main.project().modified && !main.CheckChanges())
            return;
        main.RunModal(*window);
        if (window->compiled())
            main.NotifyProjectReplaced();
        // The window may have given the project a new name.
        main.UpdateTitle(main.project().fileName);
    });
    return w;
}

} // namespace zeb::gui
