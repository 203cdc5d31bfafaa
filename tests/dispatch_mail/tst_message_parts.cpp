#include <QtTest>
#include <string>

#include "korvex/utils/dispatch_mail/compose_message.h"
#include "korvex/utils/dispatch_mail/server_address.h"

namespace mail = korvex::utils::dispatch_mail;

// The two pieces whose faults a loopback server would not show: the text on the wire
// and where a server text leads.
class MessagePartsTest : public QObject {
    Q_OBJECT

private slots:
    void server_text_gives_host_and_port_data() {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("url");
        QTest::newRow("name") << "localhost" << "smtp://localhost:25";
        QTest::newRow("name and port") << "mail.korvex.test:2525" << "smtp://mail.korvex.test:2525";
        QTest::newRow("IPv4 and port") << "127.0.0.1:587" << "smtp://127.0.0.1:587";
        QTest::newRow("IPv6 in brackets") << "[::1]:2525" << "smtp://[::1]:2525";
        QTest::newRow("IPv6 without port") << "::1" << "smtp://[::1]:25";
    }

    void server_text_gives_host_and_port() {
        QFETCH(QString, server);
        QFETCH(QString, url);
        QCOMPARE(QString::fromStdString(mail::ServerAddress(server.toStdString()).url()), url);
    }

    void lines_are_crlf_and_seven_bit() {
        // Mixed line ends, and a line longer than SMTP allows unencoded.
        const std::string body = "one\rtwo\r\nthree\n" + std::string(1200, 'x') + "\nlast";
        const QByteArray message = QByteArray::fromStdString(
            mail::compose_message("a@korvex.test", {"b@korvex.test"}, "s", body));
        for (int i = 0; i < message.size(); ++i) {
            const char c = message[i];
            QVERIFY2(static_cast<unsigned char>(c) < 0x80, "8-bit byte");
            if (c == '\r') QVERIFY2(i + 1 < message.size() && message[i + 1] == '\n', "lone CR");
            if (c == '\n') QVERIFY2(i > 0 && message[i - 1] == '\r', "lone LF");
        }
        for (const QByteArray& line : message.split('\n')) QVERIFY(line.size() <= 998);
        QVERIFY(message.contains("charset=us-ascii"));
        QVERIFY(message.contains("Content-Transfer-Encoding: quoted-printable"));
        QVERIFY(message.contains("\r\n\r\none\r\ntwo\r\nthree\r\n"));
    }
};

QTEST_GUILESS_MAIN(MessagePartsTest)
#include "tst_message_parts.moc"
