// The rule under a menu bar.
#include "rule.h"

#include <QFrame>

namespace jorv {

QFrame* newRule(QWidget* parent) {
    auto* rule = new QFrame(parent);
    rule->setFrameStyle(QFrame::HLine | QFrame::Plain);
    rule->setAttribute(Qt::WA_TransparentForMouseEvents);
    return rule;
}

} // namespace jorv
