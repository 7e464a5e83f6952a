#pragma once
// A strict reader of the XML that toast content uses, for the tests: written apart from the
// shell's builder, so that a test can tell whether what the shell sends would load and what its
// text nodes hold. It follows XML 1.0 for well-formedness (UTF-8 input, the Char production,
// line-end and attribute-value normalisation, the five predefined entities and character
// references, matching tags, unique attributes) but refuses what toast content never needs:
// declarations, comments, CDATA, processing instructions and non-ASCII names. Header-only, so
// that the native fuzzers, the stand-in and the Windows test driver share it without a library.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xml_reader {

struct Node {
    enum Kind { start, attribute, text, end };
    Kind kind;
    std::string name;   // the element's or attribute's name; empty for text
    std::string value;  // the attribute's value or the text, UTF-8; empty otherwise

    bool operator==(const Node&) const = default;
};

namespace detail {

inline bool is_char(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// Whole-text UTF-8 decoding: the sequence length from the lead byte, then the value checked
// against the smallest value of that length, the surrogate range and U+10FFFF.
inline std::optional<std::u32string> decode(std::string_view bytes) {
    std::u32string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80         ? 1
                                   : lead >> 5 == 0x6  ? 2
                                   : lead >> 4 == 0xE  ? 3
                                   : lead >> 3 == 0x1E ? 4
                                                       : 0;
        if (length == 0 || i + length > bytes.size()) return std::nullopt;
        char32_t value = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (next >> 6 != 0x2) return std::nullopt;
            value = value << 6 | (next & 0x3F);
        }
        constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (value < smallest[length] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) return std::nullopt;
        out += value;
        i += length;
    }
    return out;
}

inline void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

class Parser {
public:
    explicit Parser(std::u32string text) : text_(std::move(text)) {}

    std::optional<std::vector<Node>> document() {
        skip_space();
        if (!element()) return std::nullopt;
        skip_space();
        if (at_ != text_.size()) return std::nullopt;
        return std::move(nodes_);
    }

private:
    static bool is_space(char32_t c) { return c == 0x20 || c == 0x9 || c == 0xA || c == 0xD; }
    static bool is_name_start(char32_t c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
    }
    static bool is_name_char(char32_t c) { return is_name_start(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

    bool more() const { return at_ < text_.size(); }
    char32_t peek() const { return more() ? text_[at_] : 0; }
    bool take(char32_t c) {
        if (peek() != c || !more()) return false;
        ++at_;
        return true;
    }
    bool skip_space() {
        const std::size_t from = at_;
        while (more() && is_space(peek())) ++at_;
        return at_ != from;
    }

    std::optional<std::string> name() {
        if (!more() || !is_name_start(peek())) return std::nullopt;
        std::string result;
        while (more() && is_name_char(peek())) result += static_cast<char>(text_[at_++]);
        return result;
    }

    // After "&": a predefined entity or a character reference, up to and including ";".
    std::optional<char32_t> reference() {
        if (take('#')) {
            const bool hex = take('x');
            char32_t value = 0;
            std::size_t digits = 0;
            for (; more() && peek() != ';'; ++at_, ++digits) {
                const char32_t c = peek();
                int digit = -1;
                if (c >= '0' && c <= '9')
                    digit = static_cast<int>(c - '0');
                else if (hex && c >= 'a' && c <= 'f')
                    digit = static_cast<int>(c - 'a' + 10);
                else if (hex && c >= 'A' && c <= 'F')
                    digit = static_cast<int>(c - 'A' + 10);
                if (digit < 0) return std::nullopt;
                value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
                if (value > 0x10FFFF) return std::nullopt;
            }
            if (digits == 0 || !take(';') || !is_char(value)) return std::nullopt;
            return value;
        }
        const auto entity = name();
        if (!entity || !take(';')) return std::nullopt;
        if (*entity == "amp") return U'&';
        if (*entity == "lt") return U'<';
        if (*entity == "gt") return U'>';
        if (*entity == "quot") return U'"';
        if (*entity == "apos") return U'\'';
        return std::nullopt;  // no other entity exists without a document type
    }

    std::optional<std::string> attribute_value() {
        const char32_t quote = peek();
        if (quote != '"' && quote != '\'') return std::nullopt;
        ++at_;
        std::string value;
        while (more() && peek() != quote) {
            const char32_t c = text_[at_++];
            if (c == '<') return std::nullopt;
            if (c == '&') {
                const auto referenced = reference();
                if (!referenced) return std::nullopt;
                append_utf8(value, *referenced);
            } else {
                append_utf8(value, is_space(c) ? U' ' : c);
            }
        }
        if (!take(quote)) return std::nullopt;
        return value;
    }

    bool element() {
        if (!take('<')) return false;
        const auto tag = name();
        if (!tag) return false;
        nodes_.push_back({Node::start, *tag, {}});
        std::vector<std::string> seen;
        for (;;) {
            const bool spaced = skip_space();
            if (take('/')) {
                if (!take('>')) return false;
                nodes_.push_back({Node::end, *tag, {}});
                return true;
            }
            if (take('>')) break;
            const auto attribute = name();
            if (!spaced || !attribute) return false;
            for (const auto& earlier : seen)
                if (earlier == *attribute) return false;
            seen.push_back(*attribute);
            skip_space();
            if (!take('=')) return false;
            skip_space();
            const auto value = attribute_value();
            if (!value) return false;
            nodes_.push_back({Node::attribute, *attribute, *value});
        }
        return content() && end_tag(*tag);
    }

    bool content() {
        std::string text;
        const auto flush = [&] {
            if (!text.empty()) nodes_.push_back({Node::text, {}, std::exchange(text, {})});
        };
        while (more()) {
            const char32_t c = peek();
            if (c == '<') {
                if (at_ + 1 < text_.size() && text_[at_ + 1] == '/') break;
                flush();
                if (!element()) return false;
            } else if (c == '&') {
                ++at_;
                const auto referenced = reference();
                if (!referenced) return false;
                append_utf8(text, *referenced);
            } else {
                if (c == '>' && at_ >= 2 && text_[at_ - 1] == ']' && text_[at_ - 2] == ']') return false;
                append_utf8(text, c);
                ++at_;
            }
        }
        flush();
        return true;
    }

    bool end_tag(const std::string& tag) {
        if (!take('<') || !take('/') || name() != tag) return false;
        skip_space();
        if (!take('>')) return false;
        nodes_.push_back({Node::end, tag, {}});
        return true;
    }

    std::u32string text_;
    std::size_t at_ = 0;
    std::vector<Node> nodes_;
};

}  // namespace detail

// The document's events in order, text merged between markup; nothing when it is not
// well-formed.
inline std::optional<std::vector<Node>> read(std::string_view utf8) {
    auto decoded = detail::decode(utf8);
    if (!decoded) return std::nullopt;
    std::u32string normalized;
    for (std::size_t i = 0; i < decoded->size(); ++i) {
        const char32_t c = (*decoded)[i];
        if (!detail::is_char(c)) return std::nullopt;
        if (c == 0xD) {
            normalized += U'\n';
            if (i + 1 < decoded->size() && (*decoded)[i + 1] == 0xA) ++i;
        } else {
            normalized += c;
        }
    }
    return detail::Parser(std::move(normalized)).document();
}

// The text of each element named `element`, in document order; an empty element gives "".
inline std::vector<std::string> texts_of(const std::vector<Node>& nodes, std::string_view element) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].kind != Node::start || nodes[i].name != element) continue;
        texts.emplace_back();
        for (std::size_t k = i + 1; k < nodes.size() && nodes[k].kind != Node::end; ++k)
            if (nodes[k].kind == Node::text) texts.back() += nodes[k].value;
    }
    return texts;
}

}  // namespace xml_reader
