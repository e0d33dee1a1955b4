#include "ComHost.h"

#include "PlatformHost.h"

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <string>
#include <utility>

using namespace korvant;

namespace {

const char* const HostWindowClass = "BrenholtKORVANTWndClass";
const wchar_t* const ApplicationClass = L"KVTLRN.Application";

// The host process is gone or no longer reachable: the run cannot go on.
bool meansConnectionLost(HRESULT result)
{
    static const HRESULT Lost[] = {
        RPC_E_DISCONNECTED,
        RPC_E_SERVER_DIED,
        RPC_E_SERVER_DIED_DNE,
        RPC_E_CALL_CANCELED,
        RPC_E_TIMEOUT,
        CO_E_OBJNOTCONNECTED,
        HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE),
        HRESULT_FROM_WIN32(RPC_S_CALL_FAILED),
        HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE),
    };
    for (HRESULT lost : Lost)
        if (result == lost)
            return true;
    return false;
}

CallStatus statusOf(HRESULT result)
{
    if (SUCCEEDED(result))
        return CallStatus::Ok;
    return meansConnectionLost(result) ? CallStatus::ConnectionLost : CallStatus::Failed;
}

std::string toUtf8(BSTR text)
{
    const int length = static_cast<int>(SysStringLen(text));
    if (length == 0)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), size, nullptr, nullptr);
    return result;
}

// A new BSTR the caller frees; null when the text is no valid UTF-8.
BSTR toBstr(const std::string& text)
{
    if (text.empty())
        return SysAllocStringLen(L"", 0);
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (size == 0)
        return nullptr;
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(size));
    if (result)
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, result, size);
    return result;
}

// A VARIANT that clears itself.
struct Variant
{
    VARIANT value;

    Variant() { VariantInit(&value); }
    ~Variant() { VariantClear(&value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

HRESULT invoke(IDispatch* object, int dispid, WORD kind, DISPPARAMS& parameters, VARIANT* result)
{
    EXCEPINFO exception{};
    UINT wrongArgument = 0;
    const HRESULT outcome = object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result,
                                           &exception, &wrongArgument);
    if (outcome == DISP_E_EXCEPTION) {
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
    return outcome;
}

// Asks an object for IDispatch; the one reference gained is the caller's.
CallResult<IDispatch*> askForDispatch(IUnknown* object)
{
    IDispatch* dispatch = nullptr;
    const HRESULT outcome = object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    if (FAILED(outcome) || !dispatch)
        return {SUCCEEDED(outcome) ? CallStatus::Failed : statusOf(outcome), nullptr};
    return {CallStatus::Ok, dispatch};
}

// Converts a VARIANT to a value of the given type with the automation
// conversion rules; false when they refuse.
bool changeType(VARIANT& value, VARTYPE type)
{
    return SUCCEEDED(VariantChangeType(&value, &value, 0, type));
}

// The value a VARIANT carries. Integers arrive as 32-bit integers, the other
// numbers as doubles; an object is asked for IDispatch and kept.
CallResult<Value> toValue(ComHost& host, VARIANT& variant)
{
    if ((variant.vt & VT_BYREF) && FAILED(VariantCopyInd(&variant, &variant)))
        return {CallStatus::Failed, {}};
    switch (variant.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return {CallStatus::Ok, Value{}};
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        IUnknown* object = variant.vt == VT_DISPATCH ? variant.pdispVal : variant.punkVal;
        if (!object)
            return {CallStatus::Ok, ObjectRef{}};
        const CallResult<IDispatch*> dispatch = askForDispatch(object);
        if (!dispatch.ok())
            return {dispatch.status, {}};
        return {CallStatus::Ok, host.keep(dispatch.value)};
    }
    case VT_BOOL:
        return {CallStatus::Ok, variant.boolVal != VARIANT_FALSE};
    case VT_BSTR:
        return {CallStatus::Ok, toUtf8(variant.bstrVal)};
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_INT:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
        if (!changeType(variant, VT_I4))
            return {CallStatus::Failed, {}};
        return {CallStatus::Ok, static_cast<std::int32_t>(variant.lVal)};
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DECIMAL:
        if (!changeType(variant, VT_R8))
            return {CallStatus::Failed, {}};
        return {CallStatus::Ok, variant.dblVal};
    default:
        return {CallStatus::Failed, {}};
    }
}

// Fills a VARIANT from a value; false for a value that cannot travel as a put.
bool fromValue(const Value& value, VARIANT& variant)
{
    if (const double* number = std::get_if<double>(&value)) {
        variant.vt = VT_R8;
        variant.dblVal = *number;
    } else if (const std::int32_t* integer = std::get_if<std::int32_t>(&value)) {
        variant.vt = VT_I4;
        variant.lVal = *integer;
    } else if (const bool* flag = std::get_if<bool>(&value)) {
        variant.vt = VT_BOOL;
        variant.boolVal = *flag ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (const std::string* text = std::get_if<std::string>(&value)) {
        variant.bstrVal = toBstr(*text);
        if (!variant.bstrVal)
            return false;
        variant.vt = VT_BSTR;
    } else {
        return false;
    }
    return true;
}

// The standard enumeration: one element at a time through IEnumVARIANT.
class ComEnumerator : public Enumerator
{
public:
    ComEnumerator(ComHost& host, IEnumVARIANT* elements) : m_host(host), m_elements(elements) {}
    ~ComEnumerator() override { m_elements->Release(); }
    ComEnumerator(const ComEnumerator&) = delete;
    ComEnumerator& operator=(const ComEnumerator&) = delete;

    // IEnumVARIANT does not tell how many elements follow.
    std::optional<std::size_t> count() const override { return std::nullopt; }

    CallResult<std::optional<ObjectRef>> next() override
    {
        Variant element;
        ULONG fetched = 0;
        const HRESULT outcome = m_elements->Next(1, &element.value, &fetched);
        if (FAILED(outcome))
            return {statusOf(outcome), std::nullopt};
        if (outcome == S_FALSE || fetched == 0)
            return {CallStatus::Ok, std::nullopt};
        CallResult<Value> value = toValue(m_host, element.value);
        if (value.status == CallStatus::ConnectionLost)
            return {CallStatus::ConnectionLost, std::nullopt};
        // An element that is no object, or does not answer IDispatch, stays
        // in the walk as the empty reference: no call reaches it.
        const ObjectRef* object = std::get_if<ObjectRef>(&value.value);
        return {CallStatus::Ok, object ? *object : ObjectRef{}};
    }

private:
    ComHost& m_host;
    IEnumVARIANT* m_elements;
};

} // namespace

std::unique_ptr<Host> createPlatformHost()
{
    return std::make_unique<ComHost>();
}

ComHost::ComHost()
{
    // S_FALSE: the thread is in its apartment already (the GUI toolkit's OLE);
    // it is joined once more and left once more.
    m_apartmentJoined = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

ComHost::~ComHost()
{
    endRun();
    if (m_apartmentJoined)
        CoUninitialize();
}

bool ComHost::findHostWindow()
{
    return FindWindowA(HostWindowClass, nullptr) != nullptr;
}

CallResult<ObjectRef> ComHost::createApplication()
{
    CLSID applicationClass{};
    if (FAILED(CLSIDFromProgID(ApplicationClass, &applicationClass)))
        return {CallStatus::Failed, {}};
    IDispatch* application = nullptr;
    const HRESULT outcome =
        CoCreateInstance(applicationClass, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                         reinterpret_cast<void**>(&application));
    if (FAILED(outcome) || !application)
        return {CallStatus::Failed, {}};
    return {CallStatus::Ok, keep(application)};
}

CallResult<Value> ComHost::get(ObjectRef object, Interface, int dispid)
{
    IDispatch* target = lookUp(object);
    if (!target)
        return {CallStatus::Failed, {}};
    DISPPARAMS noArguments{};
    Variant result;
    const HRESULT outcome =
        invoke(target, dispid, DISPATCH_PROPERTYGET | DISPATCH_METHOD, noArguments, &result.value);
    if (FAILED(outcome))
        return {statusOf(outcome), {}};
    return toValue(*this, result.value);
}

CallStatus ComHost::put(ObjectRef object, Interface, int dispid, const Value& value)
{
    IDispatch* target = lookUp(object);
    Variant argument;
    if (!target || !fromValue(value, argument.value))
        return CallStatus::Failed;
    DISPID namedArgument = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{&argument.value, &namedArgument, 1, 1};
    return statusOf(invoke(target, dispid, DISPATCH_PROPERTYPUT, parameters, nullptr));
}

CallResult<std::unique_ptr<Enumerator>> ComHost::enumerate(ObjectRef collection)
{
    IDispatch* target = lookUp(collection);
    if (!target)
        return {CallStatus::Failed, nullptr};
    DISPPARAMS noArguments{};
    Variant result;
    HRESULT outcome =
        invoke(target, DISPID_NEWENUM, DISPATCH_PROPERTYGET | DISPATCH_METHOD, noArguments, &result.value);
    if (FAILED(outcome))
        return {statusOf(outcome), nullptr};
    if ((result.value.vt != VT_UNKNOWN && result.value.vt != VT_DISPATCH) || !result.value.punkVal)
        return {CallStatus::Failed, nullptr};
    IEnumVARIANT* elements = nullptr;
    outcome = result.value.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&elements));
    if (FAILED(outcome) || !elements)
        return {SUCCEEDED(outcome) ? CallStatus::Failed : statusOf(outcome), nullptr};
    return {CallStatus::Ok, std::make_unique<ComEnumerator>(*this, elements)};
}

ObjectRef ComHost::keep(IDispatch* object)
{
    if (m_freeSlots.empty()) {
        m_objects.push_back(object);
        return ObjectRef{m_objects.size()};
    }
    const std::size_t slot = m_freeSlots.back();
    m_freeSlots.pop_back();
    m_objects[slot] = object;
    return ObjectRef{slot + 1};
}

IDispatch* ComHost::lookUp(ObjectRef object) const
{
    if (object.isEmpty() || object.id > m_objects.size())
        return nullptr;
    return m_objects[object.id - 1];
}

void ComHost::release(ObjectRef object)
{
    IDispatch* target = lookUp(object);
    if (!target)
        return;
    m_objects[object.id - 1] = nullptr;
    m_freeSlots.push_back(object.id - 1);
    target->Release();
}

void ComHost::endRun()
{
    for (IDispatch*& object : m_objects)
        if (object)
            std::exchange(object, nullptr)->Release();
    m_objects.clear();
    m_freeSlots.clear();
}
