// The program's reading of a language file, written out plainly from its rules, so that
// the tests can see what the program will make of a file: the messages section,
// unescaped, split at form feeds, every line found by its first eight bytes.
#pragma once
#include <string.h>
#include <string>
#include <vector>

class LoaderModel {
public:
    explicit LoaderModel(const std::string& file)
    {
        size_t marker = std::string::npos;
        for (size_t i = 0; i + 16 <= file.size() && i <= 130816; ++i)
            if (file.compare(i, 13, "***messages**") == 0) {
                marker = i;
                break;
            }
        if (marker == std::string::npos) return;
        loaded_ = true;
        std::string raw = file.substr(marker, 65536);
        for (size_t j = 0; j < raw.size(); ++j) {
            char c = raw[j];
            if (c == '\0') break;
            if (c == '\\' && j + 1 < raw.size() && strchr("\"\\nrt", raw[j + 1]) && raw[j + 1]) {
                const char next = raw[++j];
                body_ += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next;
                continue;
            }
            body_ += (c == '\r' || c == '\n') ? '\f' : c;
        }
        for (size_t k = 1; k + 8 < body_.size(); ++k)
            if (body_[k - 1] == '\f' && body_[k] != '\f') lines_.push_back(k);
    }

    bool Loaded() const { return loaded_; }

    // The lines the program may take for the key: every indexed line whose first eight
    // bytes equal it (the binary search may land on any), else the first line that
    // starts with the key, "=" and a double quote.
    std::vector<size_t> Candidates(const std::string& key) const
    {
        std::vector<size_t> out;
        for (size_t k : lines_)
            if (body_.compare(k, 8, key) == 0) out.push_back(k);
        if (!out.empty()) return out;
        size_t at = 0;
        while (at < body_.size()) {
            if (body_.compare(at, 10, key + "=\"") == 0) return {at};
            at = body_.find('\f', at);
            if (at == std::string::npos) break;
            while (at < body_.size() && body_[at] == '\f') ++at;
        }
        return out;
    }

    // The translation the line at k gives: from its eleventh byte through the form
    // feed, ended at the last double quote.
    std::string TextAt(size_t k) const
    {
        if (k + 10 > body_.size()) return "";
        size_t end = body_.find('\f', k + 10);
        std::string text = body_.substr(k + 10, end == std::string::npos ? 255 : end + 1 - (k + 10));
        size_t quote = text.rfind('"');
        if (quote != std::string::npos) text.resize(quote);
        return text;
    }

private:
    bool loaded_ = false;
    std::string body_;
    std::vector<size_t> lines_;
};
