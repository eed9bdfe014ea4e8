#pragma once
// A password's hash as the system's login checks it (crypt(3) by
// libxcrypt), with a fresh salt from the program's random source.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

enum class HashMethod { kYescrypt, kSha512crypt, kSha256crypt, kBcrypt };

struct HashChoice {
    HashMethod method = HashMethod::kYescrypt;
    int cost = 0;  // 0: the method's own default (bcrypt: 12)
};

// The method named as on the command line, or none.
std::optional<HashMethod> HashMethodNamed(std::string_view name);
std::vector<std::string> HashMethodList();
std::string HashMethodNames();  // "yescrypt, sha512crypt, sha256crypt or bcrypt"
// What is wrong with `cost` for the method (its range), or nothing.
std::string HashCostProblem(HashMethod method, long long cost);
// The most bytes of a password the method reads; 0 for no bound.
size_t HashReadsAtMost(HashMethod method);

// The hash, or "" with `problem` set.
std::string HashPassword(std::string_view password, const HashChoice& choice, std::string& problem);

}  // namespace morvane
