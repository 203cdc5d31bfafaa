#pragma once

#include <string>
#include <vector>

namespace korvex::utils::dispatch_mail {

// Header values as they go on the wire after "Name: ", folded with "\n " where a
// line would grow too long. Unfolded and decoded, a receiver gets the text back exactly.

// The subject verbatim when it can travel so: printable ASCII without a blank at either
// end (receivers strip those), without "=?" (receivers would decode it as an encoded
// word), short enough for one line. Otherwise the whole subject as UTF-8 encoded words
// (RFC 2047), each of at most 75 characters and split between characters.
std::string subject_value(const std::string& subject);

// The addresses joined with ", ", folded after a comma where a line would grow too long.
std::string address_list_value(const std::string& header_name,
                               const std::vector<std::string>& addresses);

}  // namespace korvex::utils::dispatch_mail
