// The yardstick: the least a program can do to make the same passwords.
// Bytes from getrandom, rejection sampling onto the 94 printable characters,
// one write per block.   morvane_yardstick COUNT LENGTH
#include <sys/random.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    long count = argc > 1 ? std::atol(argv[1]) : 1000000;
    int length = argc > 2 ? std::atoi(argv[2]) : 8;
    unsigned char random[4096];
    size_t used = sizeof random;
    std::string out;
    out.reserve(1 << 17);
    for (long i = 0; i < count; ++i) {
        for (int k = 0; k < length;) {
            if (used == sizeof random) {
                if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return 1;
                used = 0;
            }
            unsigned char b = random[used++];
            if (b < 188) {  // 2 * 94: the rest would favour the first characters
                out.push_back(static_cast<char>(33 + b % 94));
                ++k;
            }
        }
        out.push_back('\n');
        if (out.size() >= (1 << 16)) {
            if (write(1, out.data(), out.size()) < 0) return 1;
            out.clear();
        }
    }
    if (write(1, out.data(), out.size()) < 0) return 1;
    return 0;
}
