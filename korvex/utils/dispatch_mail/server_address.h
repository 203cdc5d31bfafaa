#pragma once

#include <string>

#include "korvex/utils/dispatch_mail/dispatch_mail_export.h"

namespace korvex::utils::dispatch_mail {

// Where the SMTP server listens: "host", "host:port", "[IPv6]" or "[IPv6]:port";
// without a port, the standard SMTP port 25.
class KORVEX_DISPATCH_MAIL_EXPORT ServerAddress {
public:
    static constexpr int SMTP_PORT = 25;

    // Throws ValueError for a text that names no host or carries a bad port.
    explicit ServerAddress(const std::string& server);

    const std::string& host() const { return host_; }
    int port() const { return port_; }
    std::string url() const;

private:
    std::string host_;
    int port_ = SMTP_PORT;
};

}  // namespace korvex::utils::dispatch_mail
