#include "korvex/utils/dispatch_mail/header_values.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>

namespace korvex::utils::dispatch_mail {

namespace {

constexpr std::size_t LINE_LIMIT = 78;  // RFC 5322 2.1.1
// RFC 2047 2, a line holding encoded words; it keeps each word within the 75 characters
// RFC 2047 allows.
constexpr std::size_t ENCODED_LINE_LIMIT = 76;
constexpr std::string_view SUBJECT_PREFIX = "Subject: ";
constexpr std::string_view WORD_START = "=?utf-8?q?";
constexpr std::string_view WORD_END = "?=";
const std::string FOLD = "\n ";

bool survives_verbatim(const std::string& subject) {
    const bool printable = std::all_of(subject.begin(), subject.end(),
                                       [](unsigned char c) { return c >= 0x20 && c < 0x7f; });
    const bool trimmed = subject.empty() || (subject.front() != ' ' && subject.back() != ' ');
    return printable && trimmed && subject.find("=?") == std::string::npos &&
           SUBJECT_PREFIX.size() + subject.size() <= LINE_LIMIT;
}

// The "Q" encoding, keeping literal only what it allows in any header (RFC 2047 5 (3)).
std::string q_encoded(std::string_view bytes) {
    std::string encoded;
    for (const unsigned char c : bytes) {
        if (std::isalnum(c) || std::string_view("!*+-/").find(c) != std::string_view::npos) {
            encoded += static_cast<char>(c);
        } else if (c == ' ') {
            encoded += '_';
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "=%02X", c);
            encoded += escaped;
        }
    }
    return encoded;
}

// An encoded word must hold whole characters (RFC 2047 5): a UTF-8 sequence is its
// lead byte and the continuation bytes that follow.
std::size_t character_length(std::string_view text) {
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

std::string encoded_words(std::string_view text) {
    std::string folded;
    std::string payload;
    // The first word shares its line with "Subject: ", the others follow a fold's blank.
    std::size_t room = ENCODED_LINE_LIMIT - SUBJECT_PREFIX.size();
    const auto end_word = [&] {
        folded += std::string(WORD_START) + payload + std::string(WORD_END);
        payload.clear();
    };
    while (!text.empty()) {
        const std::size_t length = character_length(text);
        const std::string character = q_encoded(text.substr(0, length));
        text.remove_prefix(length);
        if (!payload.empty() &&
            WORD_START.size() + payload.size() + character.size() + WORD_END.size() > room) {
            end_word();
            folded += FOLD;
            room = ENCODED_LINE_LIMIT - 1;  // after the fold's blank
        }
        payload += character;
    }
    end_word();
    return folded;
}

}  // namespace

std::string subject_value(const std::string& subject) {
    return survives_verbatim(subject) ? subject : encoded_words(subject);
}

std::string address_list_value(const std::string& header_name,
                               const std::vector<std::string>& addresses) {
    std::string value;
    std::size_t column = header_name.size() + 2;  // after "Name: "
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        if (i > 0) {
            value += ',';
            const bool fits = column + 2 + addresses[i].size() <= LINE_LIMIT;
            value += fits ? " " : FOLD;
            column = fits ? column + 2 : 1;
        }
        value += addresses[i];
        column += addresses[i].size();
    }
    return value;
}

}  // namespace korvex::utils::dispatch_mail
