#pragma once

#include "transfer/core/KorvantHost.h"

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace korvant {

// The host objects a connection holds for the run, by reference: a
// reference's id is its slot here, and a slot given up is taken again by the
// next object kept, so a long walk holds no more slots than live references.
template <typename Handle> class ReferenceTable
{
public:
    ObjectRef keep(Handle handle)
    {
        if (m_freeSlots.empty()) {
            m_slots.emplace_back(std::move(handle));
            return ObjectRef{m_slots.size()};
        }
        const std::size_t slot = m_freeSlots.back();
        m_freeSlots.pop_back();
        m_slots[slot] = std::move(handle);
        return ObjectRef{slot + 1};
    }

    // The object of a reference still held, or nullptr.
    const Handle* find(ObjectRef reference) const
    {
        if (reference.isEmpty() || reference.id > m_slots.size() || !m_slots[reference.id - 1])
            return nullptr;
        return &*m_slots[reference.id - 1];
    }

    // Gives up the reference's slot and hands its object back; nothing for a
    // reference not held.
    std::optional<Handle> take(ObjectRef reference)
    {
        if (!find(reference))
            return std::nullopt;
        std::optional<Handle> taken = std::exchange(m_slots[reference.id - 1], std::nullopt);
        m_freeSlots.push_back(reference.id - 1);
        return taken;
    }

    // Hands every object still held to `release` and empties the table.
    template <typename Release> void clear(Release release)
    {
        for (std::optional<Handle>& slot : m_slots)
            if (slot)
                release(*std::exchange(slot, std::nullopt));
        m_slots.clear();
        m_freeSlots.clear();
    }

private:
    std::vector<std::optional<Handle>> m_slots;
    std::vector<std::size_t> m_freeSlots;
};

} // namespace korvant
