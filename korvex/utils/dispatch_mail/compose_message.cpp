#include "korvex/utils/dispatch_mail/compose_message.h"

#include <gmime/gmime.h>

#include <algorithm>
#include <memory>
#include <mutex>

#include "korvex/utils/dispatch_mail/header_values.h"
#include "korvex/utils/dispatch_mail/mail_address.h"

namespace korvex::utils::dispatch_mail {

namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct FormatOptionsFree {
    void operator()(GMimeFormatOptions* options) const { g_mime_format_options_free(options); }
};

void init_gmime() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

// The value goes out exactly as given: GMime would parse an address header and write
// back only what it understood, and encodes a subject in ways receivers misread.
void append_raw_header(GMimeObject* object, const char* name, const std::string& value) {
    g_mime_object_append_header(object, name, "", nullptr);
    GMimeHeaderList* headers = g_mime_object_get_header_list(object);
    GMimeHeader* header =
        g_mime_header_list_get_header_at(headers, g_mime_header_list_get_count(headers) - 1);
    g_mime_header_set_raw_value(header, (" " + value + "\n").c_str());
}

// Text/plain knows only CRLF line breaks (RFC 2046); a lone CR would also be refused
// by strict servers. LF here, CRLF on the wire.
std::string with_lf_line_breaks(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            result += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

bool is_ascii(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string compose_message(const std::string& sender, const std::vector<std::string>& receivers,
                            const std::string& subject, const std::string& body) {
    check_address("the sender", sender);
    for (const auto& receiver : receivers) check_address("a receiver", receiver);
    init_gmime();
    const std::string text = with_lf_line_breaks(body);
    GObjectPtr<GMimePart> part(g_mime_part_new_with_type("text", "plain"));
    auto* object = GMIME_OBJECT(part.get());
    // Set explicitly: left to itself GMime may label UTF-8 text as ISO-8859-1.
    g_mime_object_set_content_type_parameter(object, "charset",
                                             is_ascii(text) ? "us-ascii" : "utf-8");

    GObjectPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(text.data(), text.size()));
    GObjectPtr<GMimeDataWrapper> content(
        g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(part.get(), content.get());
    // The server may not offer 8BITMIME: 7bit when the text allows it, else
    // quoted-printable or base64, whichever is shorter. Named even when 7bit (GMime
    // reports that as its default and would leave the header out).
    const GMimeContentEncoding best =
        g_mime_part_get_best_content_encoding(part.get(), GMIME_ENCODING_CONSTRAINT_7BIT);
    g_mime_part_set_content_encoding(
        part.get(), best == GMIME_CONTENT_ENCODING_DEFAULT ? GMIME_CONTENT_ENCODING_7BIT : best);

    g_mime_object_prepend_header(object, "MIME-Version", "1.0", nullptr);
    append_raw_header(object, "Subject", subject_value(subject));
    append_raw_header(object, "From", address_list_value("From", {sender}));
    append_raw_header(object, "To", address_list_value("To", receivers));

    std::unique_ptr<GMimeFormatOptions, FormatOptionsFree> options(g_mime_format_options_new());
    g_mime_format_options_set_newline_format(options.get(), GMIME_NEWLINE_FORMAT_DOS);
    std::unique_ptr<char, decltype(&g_free)> serialised(
        g_mime_object_to_string(object, options.get()), &g_free);
    return serialised.get();
}

}  // namespace korvex::utils::dispatch_mail
