#include "korvex/utils/dispatch_mail/smtp_submit.h"

#include <curl/curl.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>

#include "korvex/utils/dispatch_mail/mail_error.h"
#include "korvex/utils/dispatch_mail/smtp_transcript.h"

namespace korvex::utils::dispatch_mail {

namespace {

constexpr long CONNECT_TIMEOUT_S = 30;
// A server that accepts the connection but never greets or answers must not hang the caller.
constexpr long RESPONSE_TIMEOUT_S = 60;

void init_curl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct CurlCleanup {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct SlistFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

std::unique_ptr<curl_slist, SlistFree> receiver_list(const std::vector<std::string>& receivers) {
    std::unique_ptr<curl_slist, SlistFree> list;
    for (const auto& receiver : receivers) {
        // Appending returns the head of the list, or null (leaving the list intact)
        // when out of memory.
        curl_slist* head = curl_slist_append(list.get(), ("<" + receiver + ">").c_str());
        if (!head) throw std::bad_alloc();
        (void)list.release();
        list.reset(head);
    }
    return list;
}

size_t read_message(char* buffer, size_t size, size_t count, void* user) {
    auto* rest = static_cast<std::string_view*>(user);
    const size_t length = std::min(size * count, rest->size());
    std::memcpy(buffer, rest->data(), length);
    rest->remove_prefix(length);
    return length;
}

// The conversation so far, and the connection it runs on.
struct Session {
    explicit Session(std::size_t receivers) : transcript(receivers) {}

    SmtpTranscript transcript;
    curl_socket_t socket = CURL_SOCKET_BAD;
};

int remember_socket(void* user, curl_socket_t socket, curlsocktype) {
    static_cast<Session*>(user)->socket = socket;
    return CURL_SOCKOPT_OK;
}

// libcurl reports the SMTP conversation only through its debug callback: commands as
// outgoing headers, replies as incoming ones, one line per call.
//
// After a refusal libcurl closes the session with QUIT, and offers no option against
// it. A submission the server refused ends without QUIT: the connection is shut down
// here, as the refusal arrives, so that libcurl's QUIT fails to go out and it just
// closes the socket.
int record(CURL*, curl_infotype type, char* data, size_t size, void* user) {
    auto* session = static_cast<Session*>(user);
    try {
        if (type == CURLINFO_HEADER_OUT) session->transcript.sent({data, size});
        if (type == CURLINFO_HEADER_IN) {
            session->transcript.received({data, size});
            if (session->transcript.refused() && session->socket != CURL_SOCKET_BAD)
                shutdown(session->socket, SHUT_RDWR);
        }
    } catch (...) {
        // Nothing may unwind through libcurl; a lost line only makes an error report vaguer.
    }
    return 0;
}

}  // namespace

void smtp_submit(const ServerAddress& server, const std::string& sender,
                 const std::vector<std::string>& receivers, const std::string& message) {
    init_curl();
    std::unique_ptr<CURL, CurlCleanup> curl(curl_easy_init());
    if (!curl) throw MailError(MailStep::Connect, {}, "cannot start the SMTP client");

    const auto envelope_receivers = receiver_list(receivers);

    Session session(receivers.size());
    const SmtpTranscript& transcript = session.transcript;
    std::string_view unsent = message;
    char error[CURL_ERROR_SIZE] = "";
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, server.url().c_str());
    // Only the server named: no proxy from ALL_PROXY, all_proxy or smtp_proxy may
    // relay the plain-text message.
    curl_easy_setopt(handle, CURLOPT_PROXY, "");
    curl_easy_setopt(handle, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_NONE));
    curl_easy_setopt(handle, CURLOPT_MAIL_FROM, ("<" + sender + ">").c_str());
    curl_easy_setopt(handle, CURLOPT_MAIL_RCPT, envelope_receivers.get());
    curl_easy_setopt(handle, CURLOPT_MAIL_RCPT_ALLLOWFAILS, 1L);
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, &read_message);
    curl_easy_setopt(handle, CURLOPT_READDATA, &unsent);
    curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
    curl_easy_setopt(handle, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(handle, CURLOPT_DEBUGFUNCTION, &record);
    curl_easy_setopt(handle, CURLOPT_DEBUGDATA, &session);
    curl_easy_setopt(handle, CURLOPT_SOCKOPTFUNCTION, &remember_socket);
    curl_easy_setopt(handle, CURLOPT_SOCKOPTDATA, &session);
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, error);
    // Close the connection, and so send QUIT after a delivered message, before the
    // transfer returns, so that QUIT's reply is in the transcript.
    curl_easy_setopt(handle, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, CONNECT_TIMEOUT_S);
    curl_easy_setopt(handle, CURLOPT_SERVER_RESPONSE_TIMEOUT, RESPONSE_TIMEOUT_S);

    const CURLcode result = curl_easy_perform(handle);
    if (result != CURLE_OK) {
        const MailStep step = transcript.failed_step();
        throw MailError(step, transcript.reply_at(step),
                        error[0] ? error : curl_easy_strerror(result));
    }
    if (!transcript.quit_accepted()) {
        throw MailError(MailStep::Quit, transcript.reply_at(MailStep::Quit),
                        "the message was delivered, but the session did not end cleanly");
    }
}

}  // namespace korvex::utils::dispatch_mail
