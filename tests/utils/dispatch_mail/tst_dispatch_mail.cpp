#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <iostream>
#include <optional>
#include <sstream>

#include "korvex/utils/dispatch_mail/dispatch_mail.h"
#include "korvex/utils/errors.h"
#include "tests/support/test_main.h"

namespace mail = korvex::utils::dispatch_mail;
using korvex::utils::ValueError;
using Strings = std::vector<std::string>;
Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(Strings)

namespace {

const char* const SUCCESS_LINE = "Successfully sent email\n";

// The Python peer of smtp_peer.py, from start to the events it recorded.
class SmtpPeer {
public:
    explicit SmtpPeer(const QStringList& options = {}) {
        process_.start("/usr/bin/python3", QStringList{SMTP_PEER} + options);
        if (!process_.waitForStarted() || !process_.waitForReadyRead(10000)) {
            qFatal("the SMTP peer did not start: %s", process_.readAllStandardError().constData());
        }
        port_ = process_.readLine().trimmed().toInt();
    }
    ~SmtpPeer() { stop(); }

    std::string server() const { return "127.0.0.1:" + std::to_string(port_); }

    // Stops the peer and returns everything it recorded, in order.
    QList<QJsonObject> events() {
        stop();
        QList<QJsonObject> result;
        for (const QByteArray& line : recorded_.split('\n')) {
            if (!line.isEmpty()) result << QJsonDocument::fromJson(line).object();
        }
        return result;
    }

    QList<QJsonObject> messages() {
        QList<QJsonObject> result;
        for (const auto& event : events()) {
            if (event["event"] == "message") result << event;
        }
        return result;
    }

private:
    void stop() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.closeWriteChannel();
        if (!process_.waitForFinished(10000)) process_.kill();
        recorded_ += process_.readAllStandardOutput();
    }

    QProcess process_;
    int port_ = 0;
    QByteArray recorded_;
};

// Standard output of `send`, and the MailError it threw, if any.
struct Outcome {
    std::string output;
    std::optional<mail::MailError> error;
};

template <typename Send>
Outcome capture(Send send) {
    std::ostringstream output;
    auto* previous = std::cout.rdbuf(output.rdbuf());
    Outcome outcome;
    try {
        send();
    } catch (const mail::MailError& error) {
        outcome.error = error;
    }
    std::cout.rdbuf(previous);
    outcome.output = output.str();
    return outcome;
}

Outcome send_through(SmtpPeer& peer, const Strings& receivers, const std::string& subject = "Hello",
                     const std::string& body = "Plain text.\n") {
    return capture(
        [&] { mail::dispatch_mail("from@korvex.test", receivers, subject, body, peer.server()); });
}

QStringList qt_strings(const QJsonValue& array) {
    QStringList result;
    for (const auto& value : array.toArray()) result << value.toString();
    return result;
}

QStringList header_names(const QJsonObject& message) {
    QStringList names;
    for (const auto& header : message["headers"].toArray()) names << header.toArray()[0].toString();
    return names;
}

QString header(const QJsonObject& message, const QString& name) {
    for (const auto& header : message["headers"].toArray()) {
        if (header.toArray()[0].toString() == name) return header.toArray()[1].toString();
    }
    return {};
}

std::string repeated(const std::string& text, int count) {
    std::string result;
    for (int i = 0; i < count; ++i) result += text;
    return result;
}

// Sets environment variables (a null value unsets one) for its lifetime.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const QList<QPair<QByteArray, QByteArray>>& values) {
        for (const auto& [name, value] : values) {
            saved_.append({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
            set(name, value);
        }
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) set(name, value);
    }

private:
    static void set(const QByteArray& name, const QByteArray& value) {
        if (value.isNull()) {
            qunsetenv(name);
        } else {
            qputenv(name, value);
        }
    }

    QList<QPair<QByteArray, QByteArray>> saved_;
};

int free_port() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

}  // namespace

class DispatchMailTest : public QObject {
    Q_OBJECT

private slots:
    void one_receiver_gives_the_headers_in_order() {
        SmtpPeer peer;
        const auto outcome = send_through(peer, {"one@korvex.test"});
        QVERIFY2(!outcome.error, outcome.error ? outcome.error->what() : "");
        QCOMPARE(outcome.output, std::string(SUCCESS_LINE));

        const auto events = peer.events();
        QCOMPARE(events.size(), 3);
        QCOMPARE(events[0]["event"], "connect");
        QCOMPARE(events[2]["event"], "quit");
        const QJsonObject message = events[1];
        QCOMPARE(message["mail_from"], "from@korvex.test");
        QCOMPARE(qt_strings(message["rcpt_tos"]), QStringList{"one@korvex.test"});
        QCOMPARE(header_names(message),
                 (QStringList{"MIME-Version", "Content-Type", "Content-Transfer-Encoding",
                              "Subject", "From", "To"}));
        QCOMPARE(header(message, "Subject"), "Hello");
        QCOMPARE(header(message, "From"), "from@korvex.test");
        QCOMPARE(header(message, "To"), "one@korvex.test");
        QCOMPARE(message["charset"], "us-ascii");
        QCOMPARE(header(message, "Content-Transfer-Encoding"), "7bit");
        QCOMPARE(message["body"], "Plain text.\n");
    }

    void three_receivers_keep_their_order() {
        SmtpPeer peer;
        const Strings receivers{"c@korvex.test", "a@korvex.test", "first.last+tag@b.korvex.test"};
        QVERIFY(!send_through(peer, receivers).error);
        const auto messages = peer.messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(header(messages[0], "To"),
                 "c@korvex.test, a@korvex.test, first.last+tag@b.korvex.test");
        QCOMPARE(qt_strings(messages[0]["rcpt_tos"]),
                 (QStringList{"c@korvex.test", "a@korvex.test", "first.last+tag@b.korvex.test"}));
    }

    void a_refused_receiver_does_not_stop_the_others() {
        SmtpPeer peer({"--refuse", "gone@korvex.test"});
        const auto outcome = send_through(peer, {"gone@korvex.test", "here@korvex.test"});
        QVERIFY2(!outcome.error, outcome.error ? outcome.error->what() : "");
        QCOMPARE(outcome.output, std::string(SUCCESS_LINE));
        const auto messages = peer.messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(qt_strings(messages[0]["rcpt_tos"]), QStringList{"here@korvex.test"});
        QCOMPARE(header(messages[0], "To"), "gone@korvex.test, here@korvex.test");
    }

    void server_refusals_fail_at_their_step_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("delivered");
        // A refusal ends the session without QUIT; only a delivered message says goodbye.
        QTest::addColumn<bool>("quit");
        QTest::newRow("every receiver")
            << QStringList{"--refuse", "a@korvex.test", "--refuse", "b@korvex.test"}
            << int(mail::MailStep::Receivers)
            << "550 5.1.1 receiver <a@korvex.test> refused; 550 5.1.1 receiver <b@korvex.test> "
               "refused"
            << false << false;
        QTest::newRow("sender") << QStringList{"--refuse-sender", "from@korvex.test"}
                                << int(mail::MailStep::Sender)
                                << "553 5.7.1 sender <from@korvex.test> refused" << false << false;
        QTest::newRow("data") << QStringList{"--refuse-data"} << int(mail::MailStep::Data)
                              << "554 5.6.0 message refused" << false << false;
        QTest::newRow("greeting") << QStringList{"--greeting", "554 no service here"}
                                  << int(mail::MailStep::Connect) << "554 no service here" << false
                                  << false;
        // The message is out by then, but the session did not end as it should.
        QTest::newRow("quit") << QStringList{"--quit-reply", "451 4.3.0 try again"}
                              << int(mail::MailStep::Quit) << "451 4.3.0 try again" << true << true;
    }

    void server_refusals_fail_at_their_step() {
        QFETCH(QStringList, options);
        QFETCH(int, step);
        QFETCH(QString, reply);
        QFETCH(bool, delivered);
        QFETCH(bool, quit);
        SmtpPeer peer(options);
        const auto outcome = send_through(peer, {"a@korvex.test", "b@korvex.test"});
        QVERIFY(outcome.error);
        QCOMPARE(int(outcome.error->step()), step);
        QCOMPARE(QString::fromStdString(outcome.error->reply()), reply);
        QVERIFY(QString(outcome.error->what()).contains(reply));
        QCOMPARE(outcome.output, std::string());
        QStringList events;
        for (const auto& event : peer.events()) events << event["event"].toString();
        QCOMPARE(events.count("message"), delivered ? 1 : 0);
        QCOMPARE(events.contains("quit"), quit);
    }

    void nothing_listening_fails_at_connect() {
        const std::string server = "127.0.0.1:" + std::to_string(free_port());
        const auto outcome = capture(
            [&] { mail::dispatch_mail("a@korvex.test", {"b@korvex.test"}, "s", "b", server); });
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->step(), mail::MailStep::Connect);
        QCOMPARE(outcome.error->reply(), std::string());
        QCOMPARE(outcome.output, std::string());
    }

    void default_server_is_the_local_smtp_port() {
        QTcpSocket probe;
        probe.connectToHost("localhost", 25);
        if (probe.waitForConnected(1000))
            QSKIP("an SMTP server listens on this machine; not sending to it");
        const auto outcome =
            capture([] { mail::dispatch_mail("a@korvex.test", {"b@korvex.test"}, "s", "b"); });
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->step(), mail::MailStep::Connect);
        QVERIFY2(QString(outcome.error->what()).contains("25"), outcome.error->what());
        QCOMPARE(outcome.output, std::string());
    }

    void non_ascii_text_arrives_intact() {
        SmtpPeer peer;
        const std::string subject =
            "Grüße aus Köln — 地震 survey, with a subject long enough to need folding";
        const std::string body = "Amplitude ≥ 3 σ at Ærø\n.a line starting with a dot\n\nend\n";
        QVERIFY(!send_through(peer, {"a@korvex.test"}, subject, body).error);
        const auto messages = peer.messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(header(messages[0], "Subject"), QString::fromStdString(subject));
        QCOMPARE(messages[0]["body"], QString::fromStdString(body));
        QCOMPARE(messages[0]["charset"], "utf-8");
        QVERIFY(messages[0]["seven_bit"].toBool());
    }

    void subject_arrives_exactly_as_given_data() {
        QTest::addColumn<std::string>("subject");
        QTest::newRow("blanks at both ends") << std::string("  padded subject  ");
        QTest::newRow("tab and double blank") << std::string("\tcolumn 1  column 2");
        QTest::newRow("literal encoded word") << std::string("=?utf-8?q?not_this?=");
        QTest::newRow("encoded word amid text") << std::string("see =?utf-8?b?SGk=?= here");
        QTest::newRow("empty") << std::string();
        QTest::newRow("only blanks") << std::string("   ");
        QTest::newRow("long ASCII word") << std::string(300, 'x');
        QTest::newRow("400 non-ASCII") << repeated("é", 400);
        QTest::newRow("one to four bytes a character") << repeated("a é 地🌋_?=", 40);
    }

    void subject_arrives_exactly_as_given() {
        QFETCH(std::string, subject);
        SmtpPeer peer;
        const auto outcome = send_through(peer, {"a@korvex.test"}, subject);
        QVERIFY2(!outcome.error, outcome.error ? outcome.error->what() : "");
        const auto messages = peer.messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(header(messages[0], "Subject"), QString::fromStdString(subject));

        const QString raw = messages[0]["raw_headers"].toString();
        for (const QString& line : raw.split("\r\n")) {
            QVERIFY2(line.size() <= (line.contains("=?") ? 76 : 78), qPrintable(line));
        }
        const QRegularExpression encoded_word(R"(=\?[^?\s]+\?[bBqQ]\?[^?\s]*\?=)");
        for (auto words = encoded_word.globalMatch(raw); words.hasNext();) {
            const QString word = words.next().captured();
            QVERIFY2(word.size() <= 75, qPrintable(word));
        }
    }

    void proxies_in_the_environment_are_ignored_data() {
        QTest::addColumn<QByteArray>("variable");
        for (const char* variable : {"ALL_PROXY", "all_proxy", "smtp_proxy"}) {
            QTest::newRow(variable) << QByteArray(variable);
        }
    }

    void proxies_in_the_environment_are_ignored() {
        QFETCH(QByteArray, variable);
        SmtpPeer peer;
        // Nothing listens there: a send that took the proxy would fail.
        const QByteArray proxy = "socks5h://127.0.0.1:" + QByteArray::number(free_port());
        const ScopedEnvironment environment(
            {{variable, proxy}, {"NO_PROXY", {}}, {"no_proxy", {}}});
        const auto outcome = send_through(peer, {"a@korvex.test"});
        QVERIFY2(!outcome.error, outcome.error ? outcome.error->what() : "");
        QCOMPARE(peer.messages().size(), 1);
    }

    void unsafe_input_is_refused_before_connecting_data() {
        QTest::addColumn<std::string>("sender");
        QTest::addColumn<Strings>("receivers");
        QTest::addColumn<std::string>("subject");
        QTest::addColumn<std::string>("body");
        const std::string ok = "ok@korvex.test";
        QTest::newRow("CRLF in subject")
            << ok << Strings{ok} << std::string("Hi\r\nBcc: x@evil.test") << std::string("b");
        QTest::newRow("LF in subject")
            << ok << Strings{ok} << std::string("Hi\nBcc: x@evil.test") << std::string("b");
        QTest::newRow("CR in subject")
            << ok << Strings{ok} << std::string("Hi\rthere") << std::string("b");
        QTest::newRow("LF in sender") << std::string("a@x\nRCPT TO:<x@evil.test>") << Strings{ok}
                                      << std::string("s") << std::string("b");
        QTest::newRow("CR in a receiver")
            << ok << Strings{ok, "b@x\rDATA"} << std::string("s") << std::string("b");
        QTest::newRow("bracket in a receiver")
            << ok << Strings{"b@x> NOTIFY=NEVER"} << std::string("s") << std::string("b");
        QTest::newRow("non-ASCII address")
            << ok << Strings{"jörg@korvex.test"} << std::string("s") << std::string("b");
        QTest::newRow("empty sender")
            << std::string() << Strings{ok} << std::string("s") << std::string("b");
        QTest::newRow("blank in sender") << std::string("a b@korvex.test") << Strings{ok}
                                         << std::string("s") << std::string("b");
        QTest::newRow("two receivers in one text")
            << ok << Strings{"a@korvex.test;b@korvex.test"} << std::string("s") << std::string("b");
        QTest::newRow("comma-separated receivers")
            << ok << Strings{ok, "a@korvex.test, b@korvex.test"} << std::string("s")
            << std::string("b");
        QTest::newRow("blank receiver")
            << ok << Strings{" "} << std::string("s") << std::string("b");
        QTest::newRow("no receivers") << ok << Strings{} << std::string("s") << std::string("b");
        QTest::newRow("body not UTF-8")
            << ok << Strings{ok} << std::string("s") << std::string("\xff\xfe");
    }

    void unsafe_input_is_refused_before_connecting() {
        QFETCH(std::string, sender);
        QFETCH(Strings, receivers);
        QFETCH(std::string, subject);
        QFETCH(std::string, body);
        SmtpPeer peer;
        std::ostringstream output;
        auto* previous = std::cout.rdbuf(output.rdbuf());
        QVERIFY_EXCEPTION_THROWN(
            mail::dispatch_mail(sender, receivers, subject, body, peer.server()), ValueError);
        std::cout.rdbuf(previous);
        QCOMPARE(output.str(), std::string());
        QVERIFY(peer.events().isEmpty());
    }

    void malformed_server_is_refused_data() {
        QTest::addColumn<std::string>("server");
        for (const char* server : {"", "host:", "host:0", "host:65536", "host:25x", "user@host",
                                   "host/path", "[::1", "[::1]25", "a b"}) {
            QTest::newRow(server) << std::string(server);
        }
    }

    void malformed_server_is_refused() {
        QFETCH(std::string, server);
        try {
            mail::dispatch_mail("a@korvex.test", {"b@korvex.test"}, "s", "b", server);
            QFAIL("no error");
        } catch (const ValueError& error) {
            QVERIFY2(QString(error.what()).contains(QString::fromStdString(server)), error.what());
        }
    }

    void demonstration_program_sends_the_fixed_message() {
        SmtpPeer peer;
        QProcess demo;
        demo.start(DEMO_PROGRAM, {QString::fromStdString(peer.server())});
        QVERIFY(demo.waitForFinished(30000));
        QCOMPARE(demo.exitCode(), 0);
        QCOMPARE(demo.readAllStandardOutput(), QByteArray(SUCCESS_LINE));
        const auto messages = peer.messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0]["mail_from"], QString::fromStdString(mail::DEMO_SENDER));
        const QStringList receivers{QString::fromStdString(mail::DEMO_RECEIVERS[0]),
                                    QString::fromStdString(mail::DEMO_RECEIVERS[1])};
        QCOMPARE(receivers[0], QString::fromStdString(mail::DEMO_SENDER));
        QCOMPARE(qt_strings(messages[0]["rcpt_tos"]), receivers);
        QCOMPARE(header(messages[0], "To"), receivers.join(", "));
        QCOMPARE(header(messages[0], "Subject"), "This is subject");
        QCOMPARE(messages[0]["body"], "This is content\n");  // SMTP data always ends its last line
    }
};

KORVEX_TEST_GUILESS_MAIN(DispatchMailTest)
#include "tst_dispatch_mail.moc"
