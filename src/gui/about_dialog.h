#pragma once
// The About window (TForm_Info1). Its texts are the same in both languages, so it takes no part
// in switching them.

#include <QDialog>

#include <memory>

namespace Ui {
class AboutDialog;
}

namespace zeb::gui {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    ~AboutDialog() override;

private:
    std::unique_ptr<Ui::AboutDialog> ui_;
};

} // namespace zeb::gui
