// The title screen's layout, and its pointer routed to the rules.
#include "titlescreen.h"

#include "facts.h"
#include "fonts.h"
#include "icon.h"
#include "numbers.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QMouseEvent>

#include <algorithm>

namespace jorv {

namespace {

// A choice as a screen reader reads it: a button named by its line, pressed
// once the reader's request has returned, since a choice may run for long.
class ChoiceAccessible final : public QAccessibleWidget {
public:
    explicit ChoiceAccessible(ChoiceLabel* choice)
        : QAccessibleWidget(choice, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return static_cast<ChoiceLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction())
            QMetaObject::invokeMethod(static_cast<ChoiceLabel*>(widget()), &ChoiceLabel::clicked,
                                      Qt::QueuedConnection);
    }
};

QAccessibleInterface* choiceAccessible(const QString&, QObject* object) {
    if (auto* choice = dynamic_cast<ChoiceLabel*>(object))
        return new ChoiceAccessible(choice);
    return nullptr;
}

} // namespace

// The text is set once the label is a choice: a screen reader that asks
// about it as it is made keeps the answer.
ChoiceLabel::ChoiceLabel(const QString& text, QWidget* parent)
    : SelfSizingLabel(parent) {
    static const bool readable = (QAccessible::installFactory(choiceAccessible), true);
    Q_UNUSED(readable);
    setText(text);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
}

void ChoiceLabel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit moved();
}

void ChoiceLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void ChoiceLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit clicked();
}

void ChoiceLabel::focusInEvent(QFocusEvent* event) {
    SelfSizingLabel::focusInEvent(event);
    emit moved();
}

void ChoiceLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space)
        return SelfSizingLabel::keyPressEvent(event);
    emit clicked();
}

namespace {

template <class L>
L* makeLabel(QWidget* parent, const char* caption, QRect twips, const QFont& font) {
    auto* label = new L(QString::fromUtf8(caption), parent);
    placeInTwips(label, twips.x(), twips.y(), twips.width(), twips.height());
    label->setFont(font);
    label->setAutoFillBackground(true);
    return label;
}

} // namespace

TitleScreen::TitleScreen(const Services& services, TitleExits exits, std::function<void()> unload)
    : services_(services)
    , Label1_(makeLabel<SelfSizingLabel>(this, "Hyper Jorv", {330, 120, 6795, 1455},
                                         layoutFont(faces::pMincho, 72)))
    , Label2_(makeLabel<SelfSizingLabel>(this, "Produced By QLM", {1770, 4440, 5685, 720},
                                         layoutFont(faces::pMincho, 36, true)))
    , Label3_(makeLabel<QLabel>(this, "Version 1.2", {210, 1680, 7095, 615},
                                layoutFont(faces::pGothic, 24)))
    , Label4_{
          makeLabel<ChoiceLabel>(this, "☆Game Start", {240, 2400, 2925, 495},
                                 layoutFont(faces::pMincho, 24, true, true)),
          makeLabel<ChoiceLabel>(this, "☆Show Help", {240, 3000, 2730, 495},
                                 layoutFont(faces::pMincho, 24, true, true)),
          makeLabel<ChoiceLabel>(this, "☆End This Game", {240, 3600, 3765, 495},
                                 layoutFont(faces::pMincho, 24, true, true)),
      }
    , label4Controls_{QtLabel(Label4_[0]), QtLabel(Label4_[1]), QtLabel(Label4_[2])}
    , label3Control_(Label3_)
    , windowControl_(this, this, std::move(unload))
    , title_(TitleControls{label3Control_,
                           ControlArray<Label, 3>(label4Controls_)},
             services, std::move(exits)) {
    setWindowTitle(QStringLiteral("Hyper Jorv"));
    setWindowIcon(gameIcon());
    setFixedSize(toPixels(7515), toPixels(5175));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // The window clears the highlight when the pointer crosses its background.
    // The three text lines above the choices keep their moves to themselves:
    // a move with a button held would pass through them to the window.
    setMouseTracking(true);
    for (QLabel* label : std::initializer_list<QLabel*>{Label1_, Label2_, Label3_})
        label->setAttribute(Qt::WA_NoMousePropagation);

    Label1_->setObjectName(QStringLiteral("Label1"));
    Label2_->setObjectName(QStringLiteral("Label2"));
    Label3_->setObjectName(QStringLiteral("Label3"));
    QtLabel(Label1_).setForeColor(colours::titleName);
    QtLabel(Label2_).setForeColor(colours::titleCredit);
    Label2_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label3Control_.setForeColor(Colour::systemButtonText());
    Label3_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label3Control_.setBorderStyle(BorderStyle::FixedSingle);
    // All but the status line size themselves to their text, which never
    // changes. The title keeps to the width of its design box and the credit
    // line ends at its design's right edge, above the window's bottom: the
    // stand-in face is wider and taller than the face the design names.
    const QRect title = Label1_->geometry();
    Label1_->sizeItselfToText(QRect(title.left(), 0, title.width(), height()));
    Label2_->sizeItselfToText(QRect(0, 0, Label2_->geometry().right() + 1, height()));
    for (int i = 1; i <= 3; ++i) {
        choice(i)->sizeItselfToText();
        choice(i)->setObjectName(QStringLiteral("Label4(%1)").arg(i));
        label4Controls_[i - 1].setForeColor(Colour::systemButtonText());
        connect(choice(i), &ChoiceLabel::clicked, this, [this, i] { title_.choose(i); });
        connect(choice(i), &ChoiceLabel::moved, this, [this, i] { title_.highlight(i); });
    }
    // The window opens with no line lit: the keyboard's first move reaches
    // one.
    setFocus();
}

void TitleScreen::mouseMoveEvent(QMouseEvent*) {
    title_.clearHighlight();
}

void TitleScreen::keyPressEvent(QKeyEvent* event) {
    const auto at = std::find(Label4_.begin(), Label4_.end(), focusWidget());
    const int focused = at == Label4_.end() ? 0 : int(at - Label4_.begin()) + 1;
    int next = 0;
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Right:
        next = focused % 3 + 1;
        break;
    case Qt::Key_Up:
    case Qt::Key_Left:
        next = focused <= 1 ? 3 : focused - 1;
        break;
    case Qt::Key_Home:
        next = 1;
        break;
    case Qt::Key_End:
        next = 3;
        break;
    default:
        return QWidget::keyPressEvent(event);
    }
    choice(next)->setFocus(Qt::TabFocusReason);
}

void TitleScreen::closeEvent(QCloseEvent* event) {
    event->ignore();
    services_.ender.endProgram();
}

} // namespace jorv
