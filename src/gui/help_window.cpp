#include "gui/help_window.h"

#include "gui/resources.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <utility>

namespace zeb::gui {

namespace {

constexpr std::pair<int, const char*> kPages[] = {
    {1, "main"},          {2, "about"},         {5, "menus"},          {6, "analysis-check"},
    {7, "analysis-data"}, {8, "constants"},     {10, "project-files"}, {11, "blend-fractions"},
    {12, "saturation"},   {13, "blend-series"}, {14, "species"},       {15, "options"},
    {16, "w216"},         {17, "conditioning"}, {18, "carbonic-acid"}, {20, "compile-data"},
    {21, "diagrams"},     {22, "batch"},
};

constexpr const char* kHelpContextProperty = "helpContext";

} // namespace

QUrl HelpPageUrl(int helpContext, app::Language language,
                 const std::filesystem::path& dataDirectory) {
    const char* name = kPages[0].second;
    for (const auto& [context, page] : kPages) {
        if (context == helpContext)
            name = page;
    }
    const char* lang = language == app::Language::German ? "de" : "en";
    if (!dataDirectory.empty()) {
        const std::filesystem::path file =
            dataDirectory / "help" / lang / (std::string(name) + ".html");
        std::error_code ec;
        if (std::filesystem::is_regular_file(file, ec))
            return QUrl::fromLocalFile(QString::fromStdString(file.string()));
    }
    return QUrl(
        QStringLiteral("qrc:/help/%1/%2.html").arg(QLatin1String(lang), QLatin1String(name)));
}

int HelpContextOf(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        const QVariant context = widget->property(kHelpContextProperty);
        if (context.isValid())
            return context.toInt();
    }
    return 1;
}

void SetHelpContext(QWidget* widget, int helpContext) {
    widget->setProperty(kHelpContextProperty, helpContext);
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    InitResources();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("ZEB"));
    setModal(false);
    browser_->setObjectName(QStringLiteral("browser"));
    browser_->setOpenExternalLinks(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    layout->addWidget(buttons);
    resize(640, 560);
    connect(browser_, &QTextBrowser::sourceChanged, this,
            [this] { setWindowTitle(browser_->documentTitle()); });
}

void HelpWindow::ShowPage(const QUrl& page) {
    browser_->setSource(page);
    show();
    raise();
    activateWindow();
}

QUrl HelpWindow::page() const {
    return browser_->source();
}

} // namespace zeb::gui
