// The failure rows: one text builder per error code the server sends.
#include "servererror.h"

#include "fieldviews.h"
#include "wire.h"

#include <QHash>

namespace toc::detail {

namespace {

// The line and its argument (the rest of the line after the code).
using ErrorText = ServerRecord (*)(QStringView line, const QString &arg);

ServerRecord error(qint16 code, const QString &text) {
    return msg::Error{code, text};
}

// "ERROR:951:<room>:<reason>": why the room could not be joined.
ServerRecord chatJoinFailed(QStringView line, const QString &) {
    static const QHash<QStringView, QString> reasons = {
        {u"-1", QStringLiteral("': Possible Reset")},
        {u"24", QStringLiteral("': Chat Full")},
        {u"48", QStringLiteral("': Rated")},
        {u"74", QStringLiteral("': Ejected")},
    };
    const FieldViews f(line, 4);
    const QString room = f.size() > 2 ? f.str(2) : QString();
    const QStringView reason = f.size() > 3 ? f[3] : QStringView();
    return error(951, QStringLiteral("Could not join chat '") + room +
                          reasons.value(reason, QStringLiteral("': Unknown error")));
}

// "ERROR:989:<sub-code>": a refused sign-on; unknown sub-codes are raised
// under their own number.
ServerRecord signOnRefused(QStringView, const QString &arg) {
    if (arg == QLatin1String("7"))
        return error(989, QStringLiteral("The screenname or password you entered is not valid"));
    if (arg == QLatin1String("17"))
        return error(989, QStringLiteral("Sign on Blocked"));
    bool ok = false;
    const qint16 sub = toInt16(arg, &ok);
    if (!ok)
        return msg::Ignored{};
    return error(sub, QStringLiteral("Unknown error code 989, sub error: ") + arg);
}

const QHash<QStringView, ErrorText> &errorTable() {
    static const QHash<QStringView, ErrorText> table = {
        {u"901",
         [](QStringView, const QString &arg) {
             return error(901, arg + QStringLiteral(" is not available"));
         }},
        {u"902",
         [](QStringView, const QString &arg) {
             // Real servers send it without a name too.
             return error(902, arg.isEmpty() ? QStringLiteral("Warning is not currently available")
                                             : QStringLiteral("Warning of ") + arg +
                                                   QStringLiteral(" is not currently available"));
         }},
        {u"903",
         [](QStringView, const QString &) {
             return error(903, QStringLiteral("A message has been dropped, you are exceeding "
                                              "the server speed limit"));
         }},
        {u"911",
         [](QStringView, const QString &) {
             return error(911, QStringLiteral("Error validating input"));
         }},
        {u"951", &chatJoinFailed},
        {u"980",
         [](QStringView, const QString &) {
             return error(980, QStringLiteral("Invalid account or password"));
         }},
        {u"983",
         [](QStringView, const QString &) {
             return error(983, QStringLiteral("You are attempting to sign on again too soon"));
         }},
        {u"989", &signOnRefused},
    };
    return table;
}

} // namespace

ServerRecord decodeError(QStringView line) {
    const FieldViews f(line, 3);
    if (f.size() < 2)
        return msg::Ignored{};
    const QStringView code = f[1];
    const QString arg = f.size() > 2 ? f.str(2) : QString();
    if (const ErrorText text = errorTable().value(code))
        return text(line, arg);
    // Any other numeric code is raised with a generic text.
    bool ok = false;
    const qint16 number = toInt16(code, &ok);
    if (!ok)
        return msg::Ignored{};
    return error(number, QStringLiteral("Error code: ") + code.toString());
}

} // namespace toc::detail
