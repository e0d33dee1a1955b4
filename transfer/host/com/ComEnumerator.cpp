#include "transfer/host/com/ComEnumerator.h"

#include "transfer/host/com/ComCallRules.h"

using namespace korvant;

ComEnumerator::ComEnumerator(comvalues::ComObjects& objects, IEnumVARIANT* elements)
    : m_objects(objects), m_elements(elements)
{
}

ComEnumerator::~ComEnumerator()
{
    m_elements->Release();
}

CallResult<std::optional<ObjectRef>> ComEnumerator::next()
{
    comvalues::Variant element;
    ULONG fetched = 0;
    const HRESULT outcome =
        comcalls::patiently([&] { return m_elements->Next(1, &element.value, &fetched); });
    // A failure is never the end: the commands after it were not visited.
    if (FAILED(outcome))
        return {comcalls::statusOf(outcome), std::nullopt};
    // S_FALSE may come with the last element: it is visited all the same.
    if (fetched == 0)
        return {CallStatus::Ok, std::nullopt};
    CallResult<Value> value =
        comvalues::toValue(m_objects, element.value, Interface::Command, dispid::DimensionView);
    if (value.status == CallStatus::ConnectionLost || value.status == CallStatus::Busy)
        return {value.status, std::nullopt};
    // An element that is no object, or does not answer IDispatch, stays
    // in the walk as the empty reference: no call reaches it.
    const ObjectRef* object = std::get_if<ObjectRef>(&value.value);
    return {CallStatus::Ok, object ? *object : ObjectRef{}};
}
