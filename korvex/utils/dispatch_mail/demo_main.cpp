#include <exception>
#include <iostream>

#include "korvex/utils/dispatch_mail/dispatch_mail.h"

namespace mail = korvex::utils::dispatch_mail;

// Sends the demonstration message. An optional argument names another server than
// the local one, as "host" or "host:port".
int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: " << argv[0] << " [server[:port]]\n";
        return 2;
    }
    try {
        if (argc == 2) {
            mail::dispatch_mail(mail::DEMO_SENDER, mail::DEMO_RECEIVERS, mail::DEMO_SUBJECT,
                                mail::DEMO_BODY, argv[1]);
        } else {
            mail::main();
        }
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
