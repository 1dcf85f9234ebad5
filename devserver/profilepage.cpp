#include "devserver/profilepage.h"

#include <QDateTime>

namespace devserver {

QByteArray renderProfilePage(const QString &formattedName, const QString &profileHtml,
                             qint64 memberSince, int warning) {
    const QString name = formattedName.toHtmlEscaped();
    const QString since = QDateTime::fromSecsSinceEpoch(memberSince).toString(Qt::ISODate);
    QString page = QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>") +
                   name + QStringLiteral("</title></head><body>\n<h1>") + name +
                   QStringLiteral("</h1>\n<p>Member since ") + since.toHtmlEscaped() +
                   QStringLiteral(". Warning level ") + QString::number(warning) +
                   QStringLiteral("%.</p>\n<hr>\n<div class=\"profile\">");
    page += profileHtml.isEmpty() ? QStringLiteral("<i>No profile.</i>") : profileHtml;
    page += QStringLiteral("</div>\n</body></html>\n");
    return page.toUtf8();
}

} // namespace devserver

namespace devserver {

QByteArray renderProfileLookup(const QString &user, const QString &profileHtml) {
    return (QStringLiteral("\n<HTML><HEAD><TITLE>Profile Lookup</TITLE></HEAD><BODY>\nUsername : "
                           "<B>") +
            user.toHtmlEscaped() + QStringLiteral("</B><BR><BR>\n") + profileHtml +
            QStringLiteral("\n</BODY></HTML>"))
        .toUtf8();
}

} // namespace devserver
