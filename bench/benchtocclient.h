#pragma once
// The benchmarks' raw TOC client: a QTcpSocket that greets, answers the
// server's sign-on frame with ours and the toc2_login line (password "pw"),
// sends toc_init_done on the configuration and hands every other data line
// to onLine(). Event-driven, so hundreds run in one thread.
#include "protocol/commands.h"
#include "protocol/framebuffer.h"
#include "protocol/wire.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpSocket>

class BenchTocClient {
  public:
    explicit BenchTocClient(const QString &name) : m_name(name) {
        QObject::connect(&m_socket, &QTcpSocket::readyRead, [this] { onReadyRead(); });
    }
    virtual ~BenchTocClient() = default;
    BenchTocClient(const BenchTocClient &) = delete;
    BenchTocClient &operator=(const BenchTocClient &) = delete;

    void start(quint16 port) {
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_socket.write("FLAPON\r\n\r\n");
    }
    bool signedOn() const { return m_signedOn; }
    bool connected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }

  protected:
    // A data frame for the line and its NUL, numbered in turn.
    QByteArray lineFrame(const QString &line) { return frame(toc::Data, line.toUtf8() + '\0'); }
    void write(const QByteArray &bytes) { m_socket.write(bytes); }
    virtual void onLine(const QByteArray &line) = 0;

    const QString m_name;

  private:
    QByteArray frame(quint8 type, const QByteArray &data) {
        return toc::buildFrame(type, m_sequence++, data);
    }

    void onReadyRead() {
        m_buffer.append(m_socket.readAll());
        QByteArray f;
        while (m_buffer.next(f)) {
            const quint8 type = quint8(f[1]);
            if (type == toc::SignOn) {
                QByteArray reply = frame(toc::SignOn, toc::signOnData(m_name.toUtf8()));
                reply += lineFrame(toc::signOnLine(QStringLiteral("login.oscar.aol.com"), 5190,
                                                   m_name, toc::roastPassword("pw")));
                write(reply);
            } else if (type == toc::Data) {
                const QByteArray line = f.mid(toc::kFlapHeaderSize);
                if (line.startsWith("CONFIG2:")) {
                    write(lineFrame(toc::cmd::initDone()));
                    m_signedOn = true;
                } else {
                    onLine(line);
                }
            }
        }
    }

    QTcpSocket m_socket;
    toc::FrameBuffer m_buffer;
    quint16 m_sequence = 0;
    bool m_signedOn = false;
};
