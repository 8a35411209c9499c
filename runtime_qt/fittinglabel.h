// A label of one line whose text is always shown whole.
#pragma once

#include <QLabel>

namespace jorv {

// A label of one line whose text is always shown whole: where the letters of
// a text would be cut at its edges (a wide text, a descender below a short
// line), that text is drawn in a smaller size. A widget that lies in front of
// the label's right part (`coveredBy`, as the progress bar lies over the
// first status-bar panel) shortens the room for it.
class FittingLabel : public QLabel {
public:
    explicit FittingLabel(const QString& text = {}, QWidget* parent = nullptr)
        : QLabel(text, parent) {}
    void setCoveredBy(QWidget* widget) { coveredBy_ = widget; }
    // The room the text is drawn in, in the label's pixels, and its font.
    QRect textRoom() const;
    QFont textFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* coveredBy_ = nullptr;
};

} // namespace jorv
