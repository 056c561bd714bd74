// CSettingsMap: a chained hash map of 17 buckets with a fixed iteration order, plus an index.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>

namespace lvp {
// Keys go to bucket (h * 33 + unit ...) mod 17; a new key is inserted at the head of its
// bucket's chain and iteration walks buckets 0..16, each chain from head to tail. The file
// writer relies on this order. The index only speeds up lookups; it never decides order.
template <class V> class CSettingsMap {
public:
    static constexpr uint32_t kBuckets = 17;

    static uint32_t Hash(const std::u16string& key)
    {
        uint32_t h = 0;
        for (char16_t u : key)
            h = h * 33u + u;
        return h;
    }
    static uint32_t Bucket(const std::u16string& key) { return Hash(key) % kBuckets; }

    CSettingsMap() = default;
    CSettingsMap(const CSettingsMap&) = delete;
    CSettingsMap& operator=(const CSettingsMap&) = delete;

    V* Find(const std::u16string& key)
    {
        auto it = m_index.find(key);
        return it == m_index.end() ? nullptr : &it->second.value;
    }
    const V* Find(const std::u16string& key) const
    {
        auto it = m_index.find(key);
        return it == m_index.end() ? nullptr : &it->second.value;
    }

    // The entry of key, inserted at the head of its chain with a value-initialised V if absent.
    V& operator[](const std::u16string& key)
    {
        auto [it, inserted] = m_index.try_emplace(key);
        if (inserted) {
            SNode& node = it->second;
            node.pKey = &it->first;
            SNode*& head = m_heads[Bucket(key)];
            node.pNext = head;
            if (head)
                head->pPrev = &node;
            head = &node;
        }
        return it->second.value;
    }

    bool Remove(const std::u16string& key)
    {
        auto it = m_index.find(key);
        if (it == m_index.end())
            return false;
        SNode& node = it->second;
        if (node.pPrev)
            node.pPrev->pNext = node.pNext;
        else
            m_heads[Bucket(key)] = node.pNext;
        if (node.pNext)
            node.pNext->pPrev = node.pPrev;
        m_index.erase(it);
        return true;
    }

    size_t size() const { return m_index.size(); }

    // Calls f(key, value) for every entry in the fixed iteration order.
    template <class F> void ForEach(F&& f) const
    {
        for (const SNode* head : m_heads)
            for (const SNode* n = head; n; n = n->pNext)
                f(*n->pKey, n->value);
    }

private:
    struct SNode {
        V value{};
        const std::u16string* pKey = nullptr;
        SNode* pPrev = nullptr;
        SNode* pNext = nullptr;
    };
    // Owns the nodes; unordered_map keeps their addresses stable.
    std::unordered_map<std::u16string, SNode> m_index;
    SNode* m_heads[kBuckets] = {};
};
} // namespace lvp
