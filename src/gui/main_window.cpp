#include "gui/main_window.h"

#include "app/data_directory.h"
#include "app/settings.h"
#include "gui/about_dialog.h"
#include "gui/dialogs.h"
#include "gui/help_window.h"
#include "gui/jpeg_image.h"
#include "gui/options_dialog.h"
#include "gui/report_format_dialog.h"
#include "gui/report_output.h"
#include "gui/resources.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>

#include <algorithm>
#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>
#include <unistd.h>

namespace zeb::gui {

namespace {

constexpr int kClientWidth = 752;
constexpr int kClientHeight = 586;
constexpr int kMenuHelpContext = 5;

enum Menu { FileMenu, EditMenu, CalculationMenu, ExtrasMenu, HelpMenu, MenuCount };
constexpr const char* kMenuNames[MenuCount] = {"File", "Edit", "Calculation", "Extras", "Help"};

struct CommandInfo {
    const char* name; // objectName of the action; its caption is "menu.<name>"
    Menu menu;
    QKeyCombination key;
    int helpContext;
    bool separatorAfter;
};

constexpr QKeyCombination kNoKey{};
constexpr QKeyCombination Key(Qt::Key key) {
    return QKeyCombination(key);
}
constexpr QKeyCombination Key(Qt::KeyboardModifiers modifiers, Qt::Key key) {
    return QKeyCombination(modifiers, key);
}

// In the order of the Command enumeration.
constexpr CommandInfo kCommands[kCommandCount] = {
    {"Neu", FileMenu, Key(Qt::Key_F2), 10, false},
    {"Oeffnen1", FileMenu, Key(Qt::Key_F3), 10, false},
    {"Speichern1", FileMenu, Key(Qt::ControlModifier, Qt::Key_S), 10, false},
    {"Speichernunter1", FileMenu, Key(Qt::Key_F4), 10, true},
    {"Beenden1", FileMenu, kNoKey, 10, false},
    {"AnalysenwerteA", EditMenu, Key(Qt::ControlModifier, Qt::Key_A), 7, false},
    {"AnalysenwerteB", EditMenu, Key(Qt::ControlModifier, Qt::Key_B), 7, false},
    {"AnalysenwerteC", EditMenu, Key(Qt::ControlModifier, Qt::Key_C), 7, true},
    {"Mischungsanteile", EditMenu, Key(Qt::ControlModifier, Qt::Key_M), 11, false},
    {"CalcitA", CalculationMenu, Key(Qt::ControlModifier | Qt::AltModifier, Qt::Key_A), 12, false},
    {"CalcitB", CalculationMenu, Key(Qt::ControlModifier | Qt::AltModifier, Qt::Key_B), 12, false},
    {"CalcitC", CalculationMenu, Key(Qt::ControlModifier | Qt::AltModifier, Qt::Key_C), 12, false},
    {"CalcitM", CalculationMenu, Key(Qt::ControlModifier | Qt::AltModifier, Qt::Key_M), 12, true},
    {"BlendAB", CalculationMenu, Key(Qt::ShiftModifier, Qt::Key_F2), 11, false},
    {"BlendAC", CalculationMenu, Key(Qt::ShiftModifier, Qt::Key_F3), 11, false},
    {"BlendBC", CalculationMenu, Key(Qt::ShiftModifier, Qt::Key_F4), 11, true},
    {"SpeciesA", CalculationMenu, Key(Qt::ControlModifier, Qt::Key_F2), 14, false},
    {"SpeciesB", CalculationMenu, Key(Qt::ControlModifier, Qt::Key_F3), 14, false},
    {"SpeciesC", CalculationMenu, Key(Qt::ControlModifier, Qt::Key_F4), 14, false},
    {"Kohlensaeureformen1", ExtrasMenu, Key(Qt::Key_F5), 18, false},
    {"Conditioning", ExtrasMenu, Key(Qt::Key_F6), 17, false},
    {"W216", ExtrasMenu, Key(Qt::Key_F7), 16, false},
    {"Konstanten", ExtrasMenu, Key(Qt::Key_F8), 8, false},
    {"Daten", ExtrasMenu, Key(Qt::ControlModifier, Qt::Key_D), 15, false},
    {"Stapelberechnung", ExtrasMenu, Key(Qt::Key_F11), 22, true},
    {"Optionen", ExtrasMenu, Key(Qt::Key_F9), 15, false},
    {"Info1", HelpMenu, kNoKey, 2, false},
    {"Help1", HelpMenu, Key(Qt::Key_F1), 1, false},
};

std::string MenuKey(const char* name) {
    return std::string("menu.") + name;
}

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// Date and time as the system formats them (short date, long time).
QString SystemTimeText(const char* format) {
    std::locale locale = std::locale::classic();
    try {
        locale = std::locale("");
    } catch (const std::exception&) {
        // An unusable locale setting leaves the classic formats.
    }
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    std::ostringstream out;
    out.imbue(locale);
    out << std::put_time(&tm, format);
    return QString::fromStdString(out.str());
}

// The client area: the equilibrium picture, filled edge to edge, with the product name on it.
class PictureWidget : public QWidget {
public:
    explicit PictureWidget(QWidget* parent) : QWidget(parent) {
        QFile file(QStringLiteral(":/picture/equilibrium.jpg"));
        if (file.open(QIODevice::ReadOnly))
            picture_ = DecodeJpeg(file.readAll());
    }
    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0xf4, 0xf1, 0xe8));
        if (picture_.isNull())
            return;
        const QSize size = picture_.size().scaled(this->size(), Qt::KeepAspectRatioByExpanding);
        const QRect target((width() - size.width()) / 2, (height() - size.height()) / 2,
                           size.width(), size.height());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, picture_);
    }

private:
    QImage picture_;
};

} // namespace

MainWindow::MainWindow(Dialogs& dialogs, StartupOptions options, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), startup_(std::move(options)) {
    InitResources();
    setObjectName(QStringLiteral("TForm20"));
    SetHelpContext(this, 1);
    setWindowIcon(QIcon(QStringLiteral(":/zeb.png")));
    // Start-up changes the current directory: a relative argument means the one at launch.
    if (startup_.arguments.size() == 1)
        argumentFile_ = QFileInfo(startup_.arguments.front()).absoluteFilePath();

    auto* picture = new PictureWidget(this);
    picture->setObjectName(QStringLiteral("Image1"));
    auto* product = new QLabel(picture);
    product->setObjectName(QStringLiteral("labelProduct"));
    product->setText(TextFor("TForm20.labelProduct", language_));
    QFont productFont = product->font();
    productFont.setPointSize(30);
    productFont.setBold(true);
    product->setFont(productFont);
    product->setStyleSheet(QStringLiteral("color: #1d3d5c;"));
    subtitle_ = new QLabel(picture);
    subtitle_->setObjectName(QStringLiteral("labelSubtitle"));
    QFont subtitleFont = subtitle_->font();
    subtitleFont.setPointSize(13);
    subtitle_->setFont(subtitleFont);
    subtitle_->setStyleSheet(QStringLiteral("color: #1d3d5c;"));
    auto* pictureLayout = new QVBoxLayout(picture);
    pictureLayout->setContentsMargins(28, 18, 28, 18);
    pictureLayout->setSpacing(0);
    pictureLayout->addWidget(product);
    pictureLayout->addWidget(subtitle_);
    pictureLayout->addStretch(1);
    setCentralWidget(picture);

    BuildMenu();
    BuildStatusBar();

    options_ = new OptionsDialog(dialogs_, this);
    reportFormat_ = new ReportFormatDialog(dialogs_, this);
    about_ = new AboutDialog(this);
    reports_ = std::make_unique<ReportOutput>(dialogs_, *reportFormat_);
    RegisterWindow(reportFormat_, 1);
    RegisterWindow(about_, 2);
    RegisterWindow(options_, 15);
    connect(options_, &OptionsDialog::languageChosen, this, [this](app::Language language) {
        if (language == app::Language::English)
            SetEnglishTexts();
        else
            SetGermanTexts();
    });

    SetCommandHandler(Command::Neu, [this] { NeuClick(); });
    SetCommandHandler(Command::Oeffnen1, [this] { Oeffnen1Click(); });
    SetCommandHandler(Command::Speichern1, [this] { Speichern1Click(); });
    SetCommandHandler(Command::Speichernunter1, [this] { Speichernunter1Click(); });
    SetCommandHandler(Command::Beenden1, [this] { Beenden1Click(); });
    SetCommandHandler(Command::Optionen, [this] { OptionenClick(); });
    SetCommandHandler(Command::Info1, [this] { Info1Click(); });
    SetCommandHandler(Command::Help1, [this] { Help1Click(); });

    ApplyLanguage(language_);
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    clock_ = new QTimer(this);
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &MainWindow::FormActivate);
    clock_->start();
    FormActivate();

    // F1 in any window opens the help of that window's context.
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMenu() {
    for (int m = 0; m < MenuCount; ++m) {
        QMenu* menu = menuBar()->addMenu(QString());
        menu->setObjectName(QLatin1String(kMenuNames[m]));
        menu->setProperty("helpContext", kMenuHelpContext);
        menus_.append(menu);
    }
    for (int i = 0; i < kCommandCount; ++i) {
        const CommandInfo& info = kCommands[i];
        QAction* action = menus_[info.menu]->addAction(QString());
        action->setObjectName(QLatin1String(info.name));
        if (info.key != kNoKey)
            action->setShortcut(QKeySequence(info.key));
        action->setProperty("helpContext", info.helpContext);
        action->setEnabled(false);
        connect(action, &QAction::triggered, this, [this, i] {
            if (handlers_[static_cast<size_t>(i)])
                handlers_[static_cast<size_t>(i)]();
        });
        actions_[static_cast<size_t>(i)] = action;
        if (info.separatorAfter)
            menus_[info.menu]->addSeparator();
    }
}

void MainWindow::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i > 0)
            panel->setAlignment(Qt::AlignCenter);
        panel->setMinimumWidth(0);
        // The first panel takes what the other three leave of the window's width.
        bar->addWidget(panel, i == 0 ? 1 : 0);
        panels_[static_cast<size_t>(i)] = panel;
    }
    // The others are as wide as their longest text (in either language, and the date and time
    // in the system's formats) with room on both sides, at least their nominal 80 pixels.
    const auto fit = [](QLabel* panel, const QStringList& texts) {
        const QFontMetrics metrics(panel->font());
        int widest = 0;
        for (const QString& text : texts)
            widest = std::max(widest, metrics.horizontalAdvance(text));
        panel->setFixedWidth(std::max(80, widest + 2 * panel->frameWidth() + 16));
    };
    fit(panels_[1], {TextFor("msg.modified", app::Language::German),
                     TextFor("msg.modified", app::Language::English)});
    fit(panels_[2], {SystemTimeText("%x"), QStringLiteral("00.00.0000")});
    fit(panels_[3], {SystemTimeText("%X"), QStringLiteral("00:00:00")});
}

void MainWindow::RegisterWindow(QWidget* window, int helpContext) {
    SetHelpContext(window, helpContext);
    windows_.append(window);
    if (auto* aware = dynamic_cast<LanguageAware*>(window))
        aware->ApplyTexts(language_);
}

void MainWindow::SetCommandHandler(Command command, std::function<void()> handler) {
    const auto i = static_cast<size_t>(command);
    handlers_[i] = std::move(handler);
    actions_[i]->setEnabled(static_cast<bool>(handlers_[i]));
}

QAction* MainWindow::action(Command command) const {
    return actions_[static_cast<size_t>(command)];
}

int MainWindow::RunModal(QDialog& window) {
    return dialogs_.RunModal(window);
}

int MainWindow::RunEditingWindow(QDialog& window, const QString& captionSuffix, bool clearModified,
                                 const EditingHooks& hooks) {
    if (clearModified)
        project_.modified = false;
    window.setWindowTitle(window.windowTitle() + captionSuffix);
    if (hooks.load)
        hooks.load();
    const int result = RunModal(window);
    if (result != QDialog::Rejected) {
        if (hooks.store)
            hooks.store();
    } else if (hooks.cancelled) {
        hooks.cancelled();
    }
    CheckModified();
    QString title = window.windowTitle();
    if (title.endsWith(captionSuffix))
        title.chop(captionSuffix.size());
    window.setWindowTitle(title);
    return result;
}

void MainWindow::RunResultWindow(QDialog& window, const QString& captionSuffix,
                                 const std::function<void()>& run) {
    window.setWindowTitle(window.windowTitle() + captionSuffix);
    if (run)
        run();
    RunModal(window);
    QString title = window.windowTitle();
    if (title.endsWith(captionSuffix))
        title.chop(captionSuffix.size());
    window.setWindowTitle(title);
}

void MainWindow::SetBlendFieldsSource(std::function<std::pair<std::string, std::string>()> source) {
    blendFields_ = std::move(source);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (initialised_)
        return;
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    Initialisieren();
}

std::filesystem::path MainWindow::DefaultWorkingDirectory() const {
    // An installed program's directory is not the user's: projects go to the home directory.
    if (app::DataDirectory(startup_.programDirectory).empty() &&
        ::access(startup_.programDirectory.c_str(), W_OK) == 0)
        return startup_.programDirectory;
    return QDir::homePath().toStdString();
}

QString MainWindow::UntitledIn(const QString& directory) const {
    QString name = directory;
    if (!name.endsWith(u'/'))
        name += u'/';
    return name + Tr("file.untitled");
}

void MainWindow::Initialisieren() {
    if (initialised_)
        return;
    initialised_ = true;
    project_.modified = false;
    ClearModifiedMark();

    settingsFile_ = app::SettingsFilePath(startup_.programDirectory);
    options_->SetSettingsFile(settingsFile_);
    const std::filesystem::path fallback = DefaultWorkingDirectory();
    app::Settings settings;
    settings.workingDirectory = fallback.string();
    std::optional<app::Settings> read;
    bool readFailed = false;
    try {
        read = app::ReadSettings(settingsFile_);
    } catch (const app::FileError& e) {
        ShowFileError(e, app::FileAccess::Read);
        readFailed = true;
    }
    std::error_code ec;
    if (read) {
        settings = *read;
    } else if (!readFailed &&
               !std::filesystem::exists(std::filesystem::symlink_status(settingsFile_, ec))) {
        // Only a missing file is created: a device or pipe in its place is not written to.
        try {
            app::WriteSettings(settingsFile_, settings);
        } catch (const app::FileError& e) {
            ShowFileError(e, app::FileAccess::Write);
        }
    }

    QString workingDirectory = FromStd(settings.workingDirectory);
    if (workingDirectory.isEmpty() || !QDir::setCurrent(workingDirectory)) {
        dialogs_.Message(this, workingDirectory + TextFor("msg.dirMissing", settings.language()),
                         MessageIcon::Information, MessageButtons::Ok);
        workingDirectory = FromStd(fallback.string());
        QDir::setCurrent(workingDirectory);
    }

    if (settings.language() == app::Language::English)
        SetEnglishTexts();
    else
        SetGermanTexts();

    options_->SetDirectory(workingDirectory);

    project_.SetDefaults();
    emit projectReplaced();
    reportFormat_->SelectStandard();

    UpdateTitle(UntitledIn(QDir::cleanPath(workingDirectory)).toStdString());

    if (startup_.arguments.size() == 1)
        OpenProjectFile(argumentFile_);
}

void MainWindow::UpdateTitle(const std::string& fileName) {
    project_.fileName = fileName;
    setWindowTitle(Tr("TForm20.Caption") + FromStd(fileName));
    reportHeaderLine_ = std::string(app::kSignature2012);
}

void MainWindow::ClearModifiedMark() {
    panels_[1]->clear();
}

void MainWindow::CheckModified() {
    std::pair<std::string, std::string> fields =
        blendFields_ ? blendFields_()
                     : std::pair{project_.referenceCopy.waters[0].blendPercent,
                                 project_.referenceCopy.waters[1].blendPercent};
    const bool differs = project_.CheckModified(fields.first, fields.second);
    panels_[1]->setText(differs ? Tr("msg.modified") : QString());
}

bool MainWindow::CheckChanges() {
    const MessageAnswer answer =
        dialogs_.Message(this, Tr("msg.saveChanges") + FromStd(project_.fileName),
                         MessageIcon::Confirmation, MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Yes) {
        // Changes the user wanted kept are never dropped because saving did not happen.
        if (!Speichern1Click())
            return false;
    } else if (answer != MessageAnswer::No) {
        return false;
    }
    project_.modified = false;
    ClearModifiedMark();
    return true;
}

void MainWindow::ShowFileError(const app::FileError& error, app::FileAccess access) {
    dialogs_.Message(this, FileErrorText(error, access, language_), MessageIcon::Warning,
                     MessageButtons::Ok);
}

bool MainWindow::OpenProjectFile(const QString& file) {
    if (!QFileInfo::exists(file)) {
        dialogs_.Inform(this, file + Tr("msg.fileMissing"));
        return false;
    }
    try {
        if (!app::LoadProject(file.toStdString(), project_, lineBuffer_)) {
            dialogs_.Message(this, file + Tr("msg.notZebFile"), MessageIcon::Confirmation,
                             MessageButtons::Ok);
            return false;
        }
    } catch (const app::Utf8TextError& e) {
        dialogs_.Message(
            this, file + Tr("msg.utf8Line") + QString::number(e.line()) + Tr("msg.utf8NotCp1252"),
            MessageIcon::Warning, MessageButtons::Ok);
        return false;
    } catch (const app::FileError& e) {
        ShowFileError(e, app::FileAccess::Read);
        return false;
    }
    UpdateTitle(file.toStdString());
    project_.modified = false;
    ClearModifiedMark();
    emit projectReplaced();
    return true;
}

bool MainWindow::WriteProject(const QString& file) {
    const std::string previous = project_.fileName;
    // Line 5 of the file names the file being written.
    project_.fileName = file.toStdString();
    try {
        app::SaveProject(project_.fileName, project_, lineBuffer_, app::SystemDateTimeText());
    } catch (const app::ValueTooWideError& e) {
        project_.fileName = previous;
        QString part = FromStd(e.part());
        if (part == u"conditioning")
            part = Tr("TForm3.Caption");
        else if (part == u"W 216")
            part = Tr("TForm16.Caption");
        else
            part = Tr("msg.water") + part;
        dialogs_.Message(
            this, part + Tr("msg.valueTooWideField") + FromStd(e.field()) + Tr("msg.valueTooWide"),
            MessageIcon::Warning, MessageButtons::Ok);
        return false;
    } catch (const app::FileError& e) {
        project_.fileName = previous;
        ShowFileError(e, app::FileAccess::Write);
        return false;
    }
    UpdateTitle(project_.fileName);
    project_.modified = false;
    ClearModifiedMark();
    project_.TakeReferenceCopies();
    return true;
}

void MainWindow::NeuClick() {
    if (project_.modified && !CheckChangesNeu())
        return;
    UpdateTitle(UntitledIn(options_->directory()).toStdString());
    project_.SetDefaults();
    emit projectReplaced();
}

void MainWindow::Oeffnen1Click() {
    if (project_.modified && !CheckChanges())
        return;
    const std::optional<QString> chosen = dialogs_.OpenFileName(
        this, {FromStd(project_.fileName), Tr("file.filterOpen"), QStringLiteral("zeb")});
    if (!chosen || chosen->isEmpty())
        return;
    OpenProjectFile(*chosen);
}

bool MainWindow::Speichern1Click() {
    const QString name = FromStd(project_.fileName);
    if (QFileInfo(name).fileName() == Tr("file.untitled"))
        return Speichernunter1Click();
    return WriteProject(name);
}

bool MainWindow::Speichernunter1Click() {
    const std::optional<QString> chosen = dialogs_.SaveFileName(
        this, {FromStd(project_.fileName), Tr("file.filterOpen"), QStringLiteral("zeb")});
    if (!chosen || chosen->isEmpty())
        return false;
    if (QFileInfo::exists(*chosen)) {
        const MessageAnswer answer = dialogs_.Message(
            this, *chosen + Tr("msg.fileExists"), MessageIcon::Confirmation, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes)
            return false;
    }
    return WriteProject(*chosen);
}

void MainWindow::Beenden1Click() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (project_.modified && !CheckChanges()) {
        event->ignore();
        return;
    }
    if (help_)
        help_->hide();
    event->accept();
}

void MainWindow::OptionenClick() {
    RunModal(*options_);
}

void MainWindow::Info1Click() {
    RunModal(*about_);
}

void MainWindow::Help1Click() {
    ShowHelp(1);
}

void MainWindow::ShowHelp(int helpContext) {
    // Beside a modal window the help must belong to it, or the modality would block it.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner || owner == help_)
        owner = this;
    if (!help_)
        help_ = new HelpWindow(owner);
    else if (help_->parentWidget() != owner)
        help_->setParent(owner, help_->windowFlags());
    help_->ShowPage(
        HelpPageUrl(helpContext, language_, app::DataDirectory(startup_.programDirectory)));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier && widget &&
            widget->window() != help_) {
            int context = HelpContextOf(widget);
            // In an open menu F1 explains the highlighted command.
            if (auto* menu = qobject_cast<QMenu*>(widget); menu && menu->activeAction()) {
                const QVariant own = menu->activeAction()->property("helpContext");
                if (own.isValid())
                    context = own.toInt();
            }
            ShowHelp(context);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::SetGermanTexts() {
    ApplyLanguage(app::Language::German);
}

void MainWindow::SetEnglishTexts() {
    ApplyLanguage(app::Language::English);
}

void MainWindow::ApplyQtTranslation(app::Language language) {
    const bool german = language == app::Language::German;
    if (german && !qtTexts_) {
        qtTexts_ = new QTranslator(this);
        // Without the translation files Qt's texts stay English; the program's own texts are
        // German either way.
        if (!qtTexts_->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                            QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            qWarning("Qt's German translations (qtbase_de.qm) were not found");
    }
    // Dates and file types in the file dialogs speak the language too: the system's own locale
    // when it is in that language, else the language's usual one.
    const QLocale::Language wanted = german ? QLocale::German : QLocale::English;
    QLocale::setDefault(QLocale::system().language() == wanted ? QLocale::system()
                                                               : QLocale(wanted));
    if (german && !qtTextsInstalled_ && !qtTexts_->isEmpty())
        qtTextsInstalled_ = QCoreApplication::installTranslator(qtTexts_);
    else if (!german && qtTextsInstalled_)
        qtTextsInstalled_ = !QCoreApplication::removeTranslator(qtTexts_);
}

void MainWindow::ApplyLanguage(app::Language language) {
    language_ = language;
    // First, so that the language-change events Qt sends reach windows already in the language.
    ApplyQtTranslation(language);
    for (int m = 0; m < MenuCount; ++m)
        menus_[m]->setTitle(Tr(MenuKey(kMenuNames[m])));
    for (int i = 0; i < kCommandCount; ++i)
        actions_[static_cast<size_t>(i)]->setText(Tr(MenuKey(kCommands[i].name)));
    subtitle_->setText(Tr("TForm20.labelSubtitle"));
    for (const QPointer<QWidget>& window : windows_) {
        if (auto* aware = dynamic_cast<LanguageAware*>(window.data()))
            aware->ApplyTexts(language);
    }
    emit languageChanged(language);
}

void MainWindow::FormActivate() {
    panels_[2]->setText(SystemTimeText("%x"));
    panels_[3]->setText(SystemTimeText("%X"));
}

} // namespace zeb::gui
