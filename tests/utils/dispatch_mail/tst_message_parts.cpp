#include <QTest>
#include <string>

#include "korvex/utils/errors.h"

#include "korvex/utils/dispatch_mail/compose_message.h"
#include "korvex/utils/dispatch_mail/mail_address.h"
#include "korvex/utils/dispatch_mail/server_address.h"
#include "tests/support/test_main.h"

namespace mail = korvex::utils::dispatch_mail;

// The two pieces whose faults a loopback server would not show: the text on the wire
// and where a server text leads.
class MessagePartsTest : public QObject {
    Q_OBJECT

private slots:
    void server_text_gives_host_and_port_data() {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("url");
        QTest::newRow("name") << "localhost"
                              << "smtp://localhost:25";
        QTest::newRow("name and port") << "mail.korvex.test:2525"
                                       << "smtp://mail.korvex.test:2525";
        QTest::newRow("IPv4 and port") << "127.0.0.1:587"
                                       << "smtp://127.0.0.1:587";
        QTest::newRow("IPv6 in brackets") << "[::1]:2525"
                                          << "smtp://[::1]:2525";
        QTest::newRow("IPv6 without port") << "::1"
                                           << "smtp://[::1]:25";
    }

    void server_text_gives_host_and_port() {
        QFETCH(QString, server);
        QFETCH(QString, url);
        QCOMPARE(QString::fromStdString(mail::ServerAddress(server.toStdString()).url()), url);
    }

    void one_plain_address_only_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("accepted");
        for (const char* address :
             {"a@korvex.test", "first.last+tag@b.korvex.test", "korvex@localhost",
              "o'brien@x-y.korvex.test", "!#$%&'*+-/=?^_`{|}~@korvex.test"}) {
            QTest::newRow(address) << address << true;
        }
        for (const char* address : {"",
                                    " ",
                                    " a@korvex.test",
                                    "a@korvex.test ",
                                    "a b@korvex.test",
                                    "a@korvex.test;b@korvex.test",
                                    "a@korvex.test, b@korvex.test",
                                    "a@korvex.test,b@korvex.test",
                                    "Ann <a@korvex.test>",
                                    "<a@korvex.test>",
                                    "\"a b\"@korvex.test",
                                    "a",
                                    "a@",
                                    "@korvex.test",
                                    "a@@korvex.test",
                                    "a@b@korvex.test",
                                    ".a@korvex.test",
                                    "a.@korvex.test",
                                    "a..b@korvex.test",
                                    "a@korvex..test",
                                    "a@.korvex.test",
                                    "a@korvex.test.",
                                    "a@-korvex.test",
                                    "a@korvex-.test",
                                    "a@korvex_x.test",
                                    "jörg@korvex.test",
                                    "a@korvex\r\n.test",
                                    "a\n@korvex.test"}) {
            QTest::newRow(address) << address << false;
        }
        const QString label(63, 'd');
        const QString long_domain = QStringList{label, label, label, label}.join('.').left(252);
        QTest::newRow("longest user name") << QString(64, 'u') + "@korvex.test" << true;
        QTest::newRow("user name too long") << QString(65, 'u') + "@korvex.test" << false;
        QTest::newRow("label too long") << "a@" + label + "d.test" << false;
        QTest::newRow("254 characters") << "a@" + long_domain << true;
        QTest::newRow("255 characters") << "ab@" + long_domain << false;
    }

    void one_plain_address_only() {
        QFETCH(QString, address);
        QFETCH(bool, accepted);
        QCOMPARE(mail::is_mail_address(address.toStdString()), accepted);
    }

    void composing_refuses_what_is_not_one_address() {
        QVERIFY_EXCEPTION_THROWN(mail::compose_message("", {"b@korvex.test"}, "s", "b"),
                                 korvex::utils::ValueError);
        QVERIFY_EXCEPTION_THROWN(
            mail::compose_message("a@korvex.test", {"b@korvex.test", "c@korvex.test;d@korvex.test"},
                                  "s", "b"),
            korvex::utils::ValueError);
    }

    // Whatever the subject, the body stays the body: a line in it that reads like a
    // header never becomes one.
    void header_block_ends_before_the_body_data() {
        QTest::addColumn<QString>("subject");
        QTest::newRow("plain") << "Hello";
        QTest::newRow("empty") << "";
        QTest::newRow("line break") << "Hi\r\nBcc: x@evil.test\r\n";
        QTest::newRow("lone LF") << "\n";
        QTest::newRow("encoded word") << "=?utf-8?q?x?=";
        QTest::newRow("long non-ASCII") << QString(300, QChar(0x5730));
    }

    void header_block_ends_before_the_body() {
        QFETCH(QString, subject);
        const std::string body = "Bcc: injected@evil.test\n\ntext\n";
        const QByteArray message = QByteArray::fromStdString(
            mail::compose_message("a@korvex.test", {"b@korvex.test"}, subject.toStdString(), body));
        const int end = message.indexOf("\r\n\r\n");
        QVERIFY(end > 0);
        QStringList names;
        for (const QByteArray& line : message.left(end).split('\n')) {
            if (!line.startsWith(' ')) names << line.left(line.indexOf(':'));
        }
        QCOMPARE(names, (QStringList{"MIME-Version", "Content-Type", "Content-Transfer-Encoding",
                                     "Subject", "From", "To"}));
        QCOMPARE(message.mid(end + 4), QByteArray("Bcc: injected@evil.test\r\n\r\ntext\r\n"));
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

KORVEX_TEST_GUILESS_MAIN(MessagePartsTest)
#include "tst_message_parts.moc"
