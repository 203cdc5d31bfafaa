#include "korvex/utils/dispatch_mail/mail_address.h"

#include <algorithm>
#include <cctype>

#include "korvex/utils/errors.h"

namespace korvex::utils::dispatch_mail {

namespace {

// Limits of RFC 5321 (4.5.3.1): what a server may refuse anyway.
constexpr std::size_t MAX_ADDRESS = 254;
constexpr std::size_t MAX_USER = 64;
constexpr std::size_t MAX_LABEL = 63;

bool is_atext(unsigned char c) {
    return std::isalnum(c) ||
           std::string_view("!#$%&'*+-/=?^_`{|}~").find(c) != std::string_view::npos;
}

// Pieces joined by single dots, none empty, each accepted by `piece_ok`.
template <typename PieceOk>
bool is_dotted(std::string_view text, PieceOk piece_ok) {
    while (true) {
        const auto dot = text.find('.');
        if (!piece_ok(text.substr(0, dot))) return false;
        if (dot == std::string_view::npos) return true;
        text.remove_prefix(dot + 1);
    }
}

bool is_user(std::string_view piece) {
    return !piece.empty() && std::all_of(piece.begin(), piece.end(), is_atext);
}

bool is_label(std::string_view label) {
    const auto letter_or_digit = [](unsigned char c) { return std::isalnum(c) != 0; };
    return !label.empty() && label.size() <= MAX_LABEL && letter_or_digit(label.front()) &&
           letter_or_digit(label.back()) &&
           std::all_of(label.begin(), label.end(),
                       [&](unsigned char c) { return letter_or_digit(c) || c == '-'; });
}

}  // namespace

bool is_mail_address(std::string_view address) {
    const auto at = address.find('@');
    if (at == std::string_view::npos || address.size() > MAX_ADDRESS || at > MAX_USER) return false;
    // A second "@" fails the host name.
    return is_dotted(address.substr(0, at), is_user) && is_dotted(address.substr(at + 1), is_label);
}

void check_address(const std::string& what, const std::string& address) {
    if (!is_mail_address(address)) {
        throw ValueError(what + " is not exactly one e-mail address of the form user@domain: \"" +
                         address + "\"");
    }
}

}  // namespace korvex::utils::dispatch_mail
