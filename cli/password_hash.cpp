#include "cli/password_hash.h"

#include <crypt.h>
#include <string.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <memory>

#include "engine/rand.h"

namespace morvane {
namespace {

struct MethodEntry {
    HashMethod method;
    const char* name;
    const char* prefix;  // of crypt(3)'s setting
    long long lowest_cost, highest_cost, default_cost;
};

// The costs: yescrypt's and bcrypt's are logarithmic; the SHA methods'
// are rounds.
constexpr MethodEntry kMethods[] = {
    {HashMethod::kYescrypt, "yescrypt", "$y$", 1, 11, 0},
    {HashMethod::kSha512crypt, "sha512crypt", "$6$", 1000, 999999999, 0},
    {HashMethod::kSha256crypt, "sha256crypt", "$5$", 1000, 999999999, 0},
    {HashMethod::kBcrypt, "bcrypt", "$2b$", 4, 31, 12},
};

const MethodEntry& EntryOf(HashMethod method) {
    for (const MethodEntry& entry : kMethods)
        if (entry.method == method) return entry;
    return kMethods[0];
}

constexpr size_t kBcryptBytesRead = 72;

}  // namespace

std::optional<HashMethod> HashMethodNamed(std::string_view name) {
    for (const MethodEntry& entry : kMethods)
        if (name == entry.name) return entry.method;
    return std::nullopt;
}

std::vector<std::string> HashMethodList() {
    std::vector<std::string> names;
    for (const MethodEntry& entry : kMethods) names.emplace_back(entry.name);
    return names;
}

std::string HashMethodNames() {
    std::string names;
    for (size_t i = 0; i < std::size(kMethods); ++i)
        names += (i == 0 ? "" : i + 1 == std::size(kMethods) ? " or " : ", ") + std::string(kMethods[i].name);
    return names;
}

std::string HashCostProblem(HashMethod method, long long cost) {
    const MethodEntry& entry = EntryOf(method);
    if (cost >= entry.lowest_cost && cost <= entry.highest_cost) return {};
    return std::string("--hash-cost for ") + entry.name + " must be a whole number from " +
           std::to_string(entry.lowest_cost) + " to " + std::to_string(entry.highest_cost);
}

size_t HashReadsAtMost(HashMethod method) { return method == HashMethod::kBcrypt ? kBcryptBytesRead : 0; }

std::string HashPassword(std::string_view password, const HashChoice& choice, std::string& problem) {
    const MethodEntry& entry = EntryOf(choice.method);
    // The salt's randomness: as many bytes as any method takes, fresh for
    // each password.
    std::array<char, 32> random{};
    for (size_t i = 0; i < random.size(); i += 8) {
        const uint64_t word = DrawWord();
        std::memcpy(random.data() + i, &word, 8);
    }
    char setting[CRYPT_GENSALT_OUTPUT_SIZE];
    const unsigned long cost = static_cast<unsigned long>(choice.cost != 0 ? choice.cost : entry.default_cost);
    const char* made = crypt_gensalt_rn(entry.prefix, cost, random.data(), static_cast<int>(random.size()), setting,
                                        sizeof setting);
    ::explicit_bzero(random.data(), random.size());
    if (!made) {
        problem = std::string("the salt for ") + entry.name + " could not be made: " + std::strerror(errno);
        return {};
    }
    // The phrase is copied once, into a NUL-ended buffer wiped after use,
    // with crypt's own working memory.
    std::string phrase(password);
    auto data = std::make_unique<crypt_data>();
    const char* hashed = crypt_rn(phrase.c_str(), setting, data.get(), sizeof *data);
    std::string hash = hashed && hashed[0] != '*' ? std::string(hashed) : std::string();
    if (hash.empty()) problem = std::string(entry.name) + " could not hash the password: " + std::strerror(errno);
    ::explicit_bzero(phrase.data(), phrase.size());
    ::explicit_bzero(data.get(), sizeof *data);
    return hash;
}

}  // namespace morvane
