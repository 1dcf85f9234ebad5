#pragma once
// The answer of the benchmarks' raw TOC clients to the server's sign-on
// frame: our sign-on frame and the toc2_login line (password "pw"), their
// sequence numbers taken from `sequence`.
#include "protocol/wire.h"

#include <QByteArray>
#include <QString>

inline QByteArray benchSignOnReply(const QString &name, quint16 &sequence)
{
    QByteArray out = toc::buildFrame(toc::SignOn, sequence++, toc::signOnData(name.toUtf8()));
    const QString login = toc::signOnLine(QStringLiteral("login.oscar.aol.com"), 5190, name, toc::roastPassword("pw"));
    out += toc::buildFrame(toc::Data, sequence++, login.toUtf8() + '\0');
    return out;
}
