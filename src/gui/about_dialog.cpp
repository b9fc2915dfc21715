#include "gui/about_dialog.h"

#include "gui/language.h"
#include "gui/resources.h"
#include "ui_about_dialog.h"

#include <QPixmap>

namespace zeb::gui {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), ui_(new Ui::AboutDialog) {
    InitResources();
    ui_->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ui_->Image1->setPixmap(QPixmap(QStringLiteral(":/zeb.png")));
    // The window keeps its English design-time texts in both languages.
    ApplyTableTexts(*this, "TForm_Info1", app::Language::English);
    setFixedSize(sizeHint());
}

AboutDialog::~AboutDialog() = default;

} // namespace zeb::gui
