// The help viewer "ルールの説明": a list of the rules file's section titles
// over a read-only text box that shows the chosen section, with three text
// sizes and a close command. Building the window loads it, reading the file
// afresh; closing it unloads it.
#pragma once

#include "helpfile.h"

#include <QMainWindow>

#include <array>

class QAction;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace jorv {

class HelpViewer final : public QMainWindow {
    Q_OBJECT
public:
    // Lists the titles of the rules and shows their first section in
    // 12-point text. The window has no owner and deletes itself when it is
    // closed.
    explicit HelpViewer(HelpFile help);

    // Lays the window out for an outer size (frame, title bar and menu bar
    // included) of W by H twips: the text box follows the window's size.
    void layOut(int W, int H);

    QComboBox* combo1() const { return Combo1_; }
    QPlainTextEdit* text1() const { return Text1_; }
    QPushButton* closeButton() const { return ボタン閉じる_; }
    QAction* closeCommand() const { return メニュー閉じる_; }
    // The size menu item whose index is its point size: 9, 12 or 16.
    QAction* サイズ(int Index) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void layOutToFrame();
    void load(HelpFile help);
    void showChosenSection();
    void chooseSize(int Index);

    HelpFile help_;
    QWidget* client_;
    QComboBox* Combo1_;
    QPlainTextEdit* Text1_;
    QPushButton* ボタン閉じる_;
    QWidget* Line1_;
    QAction* メニュー閉じる_ = nullptr;
    std::array<QAction*, 3> サイズ_{};
};

} // namespace jorv
