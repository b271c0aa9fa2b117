#include "render/fonts.h"

#include <QString>
#include <QStringList>

namespace diaspring {

QFont textFont() {
  QFont font;
  font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                    QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace diaspring
