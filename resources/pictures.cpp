#include "resources/pictures.h"

namespace pictures {

QString resourcePath(const QString &name)
{
    return QStringLiteral(":/panel/%1.png").arg(name);
}

QString largeGlyphPath(int n)
{
    return QStringLiteral(":/panel/LCD%1.png").arg(n);
}

QString smallGlyphPath(int n)
{
    return QStringLiteral(":/panel/LCDS%1.png").arg(n);
}

} // namespace pictures
