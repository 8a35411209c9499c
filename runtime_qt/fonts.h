// The Japanese faces that the layouts name, and the faces that stand in for
// them where they are missing.
#pragma once

#include <QFont>
#include <QString>

namespace jorv {

namespace faces {
inline const QString pGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString pMincho = QStringLiteral("ＭＳ Ｐ明朝");
inline const QString gothic = QStringLiteral("ＭＳ ゴシック");
} // namespace faces

// Registers the IPA faces, which share the named faces' metrics, as their
// substitutes. Call once before any window is built.
void registerJapaneseFaces();

QFont layoutFont(const QString& face, int points, bool bold = false, bool italic = false);

} // namespace jorv
