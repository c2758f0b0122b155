#pragma once

#include <QString>

#include <array>
#include <string_view>
#include <unordered_map>

// The same few texts (container UUIDs, references, volume names) repeat in
// every reading: one QString each, shared by all readings, saves an
// allocation per field and most of the memory a long history would take.
// Each field of each container position remembers its last JSON token, so a
// repeated text is found by one comparison, before it is even unescaped.
class Utf8TextCache
{
public:
    // The text stored for slot under exactly this token, if any. Inline: it
    // runs for every text of every reading.
    const QString *recent(std::string_view token, int slot) const
    {
        const Recent &recent = m_recent[static_cast<size_t>(slot) % recentCount];
        return !token.empty() && recent.token == token ? &recent.text : nullptr;
    }
    // The text of these UTF-8 bytes, shared with every earlier use.
    QString text(std::string_view token, std::string_view bytes, int slot);

private:
    struct Recent {
        std::string_view token;
        QString text;
    };
    static constexpr int recentCount = 64;
    static constexpr size_t maxShared = 4096; // bounds the table for files of unique texts

    std::array<Recent, recentCount> m_recent;
    std::unordered_map<std::string_view, QString> m_shared;
};
