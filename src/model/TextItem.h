#pragma once

#include <QString>

#include <array>
#include <cstdint>

class CMarkup;

// One entry of a text list: the text shown for one register value (dynamic text) or one alarm
// (alarm list).
class CTextItem {
public:
    QString m_strValueText;     // as the editors show the value; not stored
    std::int64_t m_nValue = -1; // -1: entry not in use
    QString m_strContent;
    std::int32_t m_nID = 0;
    bool m_bUsed = false; // editor state; not stored

    // An entry is in use when it has a text; the compiler takes only those.
    bool IsInUse() const { return !m_strContent.isEmpty(); }
};

inline constexpr int kTextListSize = 256;

// Exactly 256 entries, created with their owner; entry k has ID k. Entries are never added or
// removed, only changed.
class CTextList {
public:
    CTextList();

    CTextItem& operator[](int index) { return m_items[static_cast<std::size_t>(index)]; }
    const CTextItem& operator[](int index) const {
        return m_items[static_cast<std::size_t>(index)];
    }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    bool AnyInUse() const;
    // Whether an entry already has `value` (64-bit comparison).
    bool IsValueUsed(std::int64_t value) const;

    // `TextList` with one `Text` per entry as a child of the cursor's main element.
    void SaveXml(CMarkup& xml) const;
    // The cursor's current child is `TextList`: the k-th `Text` fills the k-th entry; entries
    // beyond the 256th have nowhere to go and are ignored.
    void LoadXml(CMarkup& xml);

private:
    std::array<CTextItem, kTextListSize> m_items;
};
