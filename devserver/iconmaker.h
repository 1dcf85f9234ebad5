#pragma once
// Generates an account's buddy icon: a 48x48 JPEG with a symmetric pattern
// and colour derived from the screen name, so every account looks distinct.

#include <QByteArray>
#include <QString>

namespace devserver {

QByteArray makeIcon(const QString &normalizedName);

} // namespace devserver
