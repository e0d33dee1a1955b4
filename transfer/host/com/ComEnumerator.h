#pragma once

#include "transfer/host/com/ComValues.h"

// The standard enumeration of a collection: one element at a time through
// IEnumVARIANT, each element kept in the connection's objects.
class ComEnumerator : public korvant::Enumerator
{
public:
    // Takes over the one reference to `elements`.
    ComEnumerator(comvalues::ComObjects& objects, IEnumVARIANT* elements);
    ~ComEnumerator() override;
    ComEnumerator(const ComEnumerator&) = delete;
    ComEnumerator& operator=(const ComEnumerator&) = delete;

    // IEnumVARIANT does not tell how many elements follow.
    std::optional<std::size_t> count() const override { return std::nullopt; }
    korvant::CallResult<std::optional<korvant::ObjectRef>> next() override;

private:
    comvalues::ComObjects& m_objects;
    IEnumVARIANT* m_elements;
};
