#include "output/html_document.h"

#include <string>


namespace morvane {

std::string HtmlDocumentHead() {
    const std::string site = kMakerSite;
    const std::string before[] = {
        "<html><head><meta charset=\"utf-8\"><title>Morvane Password Generator</title></head>",
        "<body bgcolor=\"#FFFFFF\">",
        "<table width=\"600\" border=\"1\" cellspacing=\"0\" bordercolor=\"#000000\">",
        "  <tr>",
        "     <td bgcolor=\"#FFFFFF\"><font color=\"004080\" size=\"2\" face=\"Verdana,",
        "     Arial, Helvetica, sans-serif\"><strong>Morvane Password Generator",
        "     </strong>",
        std::string("     <br> ") + kMakerCredit + "<br>",
        std::string("     ") + kMakerCompany + "<br>",
        "     <a href=\"" + site + "\" target=\"_blank\">",
        site + "</a></font></td></tr>",
        "</table>",
        "<hr align=\"left\" width=\"600\" size=\"1\">",
        "<table width=\"600\" border=\"0\" cellspacing=\"0\">",
        "  <tr>",
        "    <td><table border=\"1\" cellpadding=\"0\" cellspacing=\"0\" width=\"100%\" ",
        "       bgcolor=\"#808080\" bordercolorlight=\"#006699\" bordercolordark=",
        "       \"#006699\" align=\"left\">",
        "        <tr>",
        "          <td align=\"left\" bordercolor=\"#C0C0C0\" bgcolor=\"004080\"><b>",
        "          <font color=\"#FFFFFF\" size=\"2\" face=\"Verdana\">Passwords:",
        "          </font></b></td>",
        "        </tr>",
        "      </table></td>",
        "  </tr>",
        "<tr><td><pre>",
    };
    std::string head;
    for (const std::string& piece : before) head += piece;
    return head;
}

std::string HtmlDocumentTail() { return "</pre></td></tr></table></body></html>"; }

namespace {

// The entity for a character that would otherwise start markup or an
// entity inside the page's preformatted block; empty for any other.
std::string_view EntityFor(char32_t c) {
    switch (c) {
        case U'&': return "&amp;";
        case U'<': return "&lt;";
        case U'>': return "&gt;";
        default: return {};
    }
}

}  // namespace

void AppendHtmlEscaped(std::string& out, std::string_view utf8) {
    for (char c : utf8) {
        if (std::string_view entity = EntityFor(static_cast<unsigned char>(c)); !entity.empty()) out += entity;
        else out += c;
    }
}

Text HtmlEscaped(const Text& text) {
    Text escaped;
    escaped.reserve(text.size());
    for (char32_t c : text) {
        if (std::string_view entity = EntityFor(c); !entity.empty()) escaped.append(entity.begin(), entity.end());
        else escaped += c;
    }
    return escaped;
}

Text BuildHtmlDocument(const Text& list) {
    return FromUtf8(HtmlDocumentHead()) + HtmlEscaped(list) + FromUtf8(HtmlDocumentTail());
}

}  // namespace morvane
