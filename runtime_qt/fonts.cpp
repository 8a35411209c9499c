// Substitutes for the layouts' Japanese faces.
#include "fonts.h"

#include <QStringList>

namespace jorv {

void registerJapaneseFaces() {
    QFont::insertSubstitutions(faces::pGothic,
                               QStringList{"IPAPGothic", "IPA Pゴシック", "IPAGothic"});
    QFont::insertSubstitutions(faces::pMincho, QStringList{"IPAPMincho", "IPA P明朝", "IPAMincho"});
    QFont::insertSubstitutions(faces::gothic, QStringList{"IPAGothic", "IPAゴシック"});
}

QFont layoutFont(const QString& face, int points, bool bold, bool italic) {
    return QFont(face, points, bold ? QFont::Bold : QFont::Normal, italic);
}

} // namespace jorv
