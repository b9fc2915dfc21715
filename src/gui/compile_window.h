#pragma once
// The compile-data window (TForm35): a new project from the waters of up to three project
// files, water A from file 1, B from file 2 and C from file 3. "&Save as" writes it and makes it
// the open project; "&Quit" leaves the open project as it was.

#include "app/project.h"
#include "app/project_file.h"
#include "gui/result_window.h"

#include <array>
#include <memory>

class QLabel;
class QPushButton;
class QRadioButton;

namespace Ui {
class CompileWindow;
}

namespace zeb::gui {

class Dialogs;

class CompileWindow : public ResultWindow {
    Q_OBJECT
public:
    CompileWindow(Dialogs& dialogs, app::Project& project, QWidget* parent = nullptr);
    ~CompileWindow() override;

    void FormActivate();
    void open1() { OpenSlot(0); }
    void open2() { OpenSlot(1); }
    void open3() { OpenSlot(2); }
    void kommentar_lesen(int slot);
    void save();
    void Button1Click(); // "&Quit"

    // Whether a compiled project was written and became the open project since the window
    // opened.
    bool compiled() const { return compiled_; }

protected:
    void ApplyWindowTexts() override;
    void showEvent(QShowEvent* event) override;

private:
    struct Slot {
        QPushButton* button = nullptr;
        QLabel* fileLabel = nullptr;
        QLabel* textLabel = nullptr;
        QLabel* textCaption = nullptr;
        std::array<QRadioButton*, 3> choices{};
        std::array<app::WaterAnalysis, 3> waters;
        app::WaterAnalysis selected;
    };

    void OpenSlot(int slot);
    QString Tr(std::string_view key) const { return TextFor(key, language()); }

    std::unique_ptr<Ui::CompileWindow> ui_;
    Dialogs& dialogs_;
    app::Project& project_;
    std::array<Slot, 3> slots_;
    app::LineBuffer buffer_;
    std::string originalFileName_;
    bool compiled_ = false;
};

} // namespace zeb::gui
