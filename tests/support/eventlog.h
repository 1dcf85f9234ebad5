#pragma once
// Records every signal of an object as one text per emission:
// "Name(arg1|arg2|...)", with lists as "[a,b]" and booleans as true/false.
// Lets a table-driven test state the whole expected event stream.

#include <QMetaMethod>
#include <QObject>
#include <QSignalSpy>
#include <QStringList>
#include <memory>
#include <vector>

class EventLog {
  public:
    explicit EventLog(QObject *source, const QStringList &ignore = {}) {
        const QMetaObject *mo = source->metaObject();
        for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
            const QMetaMethod m = mo->method(i);
            if (m.methodType() != QMetaMethod::Signal)
                continue;
            if (ignore.contains(QString::fromLatin1(m.name())))
                continue;
            m_spies.push_back(std::make_unique<QSignalSpy>(source, m));
            m_names.push_back(QString::fromLatin1(m.name()));
        }
    }

    // Every emission so far, grouped by signal in declaration order; a
    // test about one server line sees at most a few of them.
    QStringList events() const {
        QStringList out;
        for (size_t s = 0; s < m_spies.size(); ++s) {
            for (const QList<QVariant> &args : *m_spies[s]) {
                QStringList parts;
                for (const QVariant &v : args)
                    parts << format(v);
                out << m_names[s] + QLatin1Char('(') + parts.join(QLatin1Char('|')) +
                           QLatin1Char(')');
            }
        }
        return out;
    }

    int count() const {
        int n = 0;
        for (const auto &spy : m_spies)
            n += int(spy->count());
        return n;
    }

    void clear() {
        for (auto &spy : m_spies)
            spy->clear();
    }

  private:
    static QString format(const QVariant &v) {
        if (v.typeId() == QMetaType::Bool)
            return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
        if (v.typeId() == QMetaType::QStringList)
            return QLatin1Char('[') + v.toStringList().join(QLatin1Char(',')) + QLatin1Char(']');
        if (v.typeId() == QMetaType::QByteArray)
            return QString::fromLatin1(v.toByteArray().toHex());
        return v.toString();
    }

    std::vector<std::unique_ptr<QSignalSpy>> m_spies;
    std::vector<QString> m_names;
};
