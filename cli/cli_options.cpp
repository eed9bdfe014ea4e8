#include "cli/cli_options.h"

namespace morvane {

const char* const kCliUsage =
    "Usage: morvane-cli [options]\n"
    "Makes random passwords with the rules of the Morvane Password Generator.\n"
    "\n"
    "  -n, --count N          how many passwords (10)\n"
    "      --min N            shortest length (6)\n"
    "      --max N            longest length (8)\n"
    "      --fixed            every password has --max characters\n"
    "      --no-upper         no upper-case letters\n"
    "      --no-lower         no lower-case letters\n"
    "      --no-numbers       no digits\n"
    "      --no-special       no special characters\n"
    "      --other-in TEXT    also these characters (separated by blanks)\n"
    "      --spaces           let the blank in\n"
    "      --exclude-look-alikes\n"
    "                         leave out 1 I | l 0 o O ` ' B 8\n"
    "      --other-out TEXT   leave out these characters\n"
    "      --unique           no password twice in this run\n"
    "      --html             the HTML document instead of the plain list\n"
    "      --crlf             end lines with CR LF instead of LF\n"
    "  -h, --help             this text\n"
    "      --version          the program's version\n";

std::string ParseCliOptions(const std::vector<std::string>& args, CliOptions& o) {
    o.values = OptionValues{};
    o.pool = PoolChoice{};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // A flag with a value takes the next argument, or what follows "=".
        std::string name = a, value;
        bool has_inline = false;
        if (a.rfind("--", 0) == 0 && a.find('=') != std::string::npos) {
            name = a.substr(0, a.find('='));
            value = a.substr(a.find('=') + 1);
            has_inline = true;
        }
        auto take = [&](Text& into) -> std::string {
            if (!has_inline) {
                if (i + 1 >= args.size()) return "option " + name + " needs a value";
                value = args[++i];
            }
            if (!IsValidUtf8(value)) return "the value of " + name + " is not valid UTF-8";
            into = FromUtf8(value);
            return {};
        };
        std::string error;
        if (name == "-n" || name == "--count") error = take(o.values.count);
        else if (name == "--min") error = take(o.values.min_length);
        else if (name == "--max") error = take(o.values.max_length);
        else if (name == "--other-in") {
            error = take(o.pool.other_in_text);
            o.pool.other_in = true;
        } else if (name == "--other-out") {
            error = take(o.pool.other_out_text);
            o.pool.other_out = true;
        } else if (has_inline) return "option " + name + " takes no value";
        else if (a == "--fixed") o.fixed = true;
        else if (a == "--no-upper") o.pool.upper = false;
        else if (a == "--no-lower") o.pool.lower = false;
        else if (a == "--no-numbers") o.pool.numbers = false;
        else if (a == "--no-special") o.pool.special = false;
        else if (a == "--spaces") o.pool.spaces = true;
        else if (a == "--exclude-look-alikes") o.pool.look_alikes_out = true;
        else if (a == "--unique") o.unique = true;
        else if (a == "--html") o.html = true;
        else if (a == "--crlf") o.crlf = true;
        else if (a == "-h" || a == "--help") o.help = true;
        else if (a == "--version") o.version = true;
        else return "unknown option " + a;
        if (!error.empty()) return error;
    }
    // The window's boxes: Letters stands for the two cases together.
    o.values.upper = o.pool.upper;
    o.values.lower = o.pool.lower;
    o.values.letters = o.pool.upper || o.pool.lower;
    o.values.numbers = o.pool.numbers;
    o.values.special = o.pool.special;
    o.values.other_in = o.pool.other_in;
    o.values.other_in_text = o.pool.other_in_text;
    // Fixed length: the minimum follows the maximum, as in the window.
    if (o.fixed) o.values.min_length = o.values.max_length;
    return {};
}

}  // namespace morvane
