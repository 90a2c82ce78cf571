#pragma once

#include <QByteArray>
#include <QString>

// Numbers in stored text are read the way C's atoi reads them: leading blanks,
// an optional sign, then as many digits as follow. Text without digits is 0.
// Values beyond the int range are clamped instead of overflowing.
int AtoiText(const QByteArray& text);
int AtoiText(const QString& text);
