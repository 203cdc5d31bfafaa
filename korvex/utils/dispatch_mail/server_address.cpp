#include "korvex/utils/dispatch_mail/server_address.h"

#include <algorithm>
#include <cctype>

#include "korvex/utils/errors.h"

namespace korvex::utils::dispatch_mail {

namespace {

bool is_ipv6_literal(const std::string& host) { return host.find(':') != std::string::npos; }

// Only what a host name or an address can hold, so that the text cannot smuggle
// user information, a path or a second URL into the one libcurl is given.
bool is_valid_host(const std::string& host) {
    // Each test takes the character as unsigned, as <cctype> requires.
    const auto all = [&](auto accepted) {
        return !host.empty() && std::all_of(host.begin(), host.end(), accepted);
    };
    if (is_ipv6_literal(host))
        return all([](unsigned char c) { return std::isxdigit(c) || c == ':' || c == '.'; });
    return all([](unsigned char c) { return std::isalnum(c) || c == '-' || c == '.' || c == '_'; });
}

int parse_port(const std::string& text, const std::string& server) {
    const bool digits =
        !text.empty() && text.size() <= 5 &&
        std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
    const int port = digits ? std::stoi(text) : 0;
    if (port < 1 || port > 65535) {
        throw ValueError("SMTP server \"" + server +
                         "\": the port must be a number from 1 to 65535");
    }
    return port;
}

}  // namespace

ServerAddress::ServerAddress(const std::string& server) {
    std::string port_text;
    if (!server.empty() && server.front() == '[') {
        const auto close = server.find(']');
        if (close == std::string::npos) {
            throw ValueError("SMTP server \"" + server +
                             "\": missing \"]\" after the IPv6 address");
        }
        host_ = server.substr(1, close - 1);
        const std::string rest = server.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':')
                throw ValueError("SMTP server \"" + server + "\": unexpected text after \"]\"");
            port_text = rest.substr(1);
        }
    } else if (std::count(server.begin(), server.end(), ':') == 1) {
        const auto colon = server.find(':');
        host_ = server.substr(0, colon);
        port_text = server.substr(colon + 1);
    } else {
        host_ = server;  // a name, or an IPv6 address written without brackets (no port then)
    }
    if (!is_valid_host(host_)) {
        throw ValueError("SMTP server \"" + server + "\" is not a host name or address");
    }
    if (!port_text.empty() || server.back() == ':') port_ = parse_port(port_text, server);
}

std::string ServerAddress::url() const {
    const std::string host = is_ipv6_literal(host_) ? "[" + host_ + "]" : host_;
    return "smtp://" + host + ":" + std::to_string(port_);
}

}  // namespace korvex::utils::dispatch_mail
