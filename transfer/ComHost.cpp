#include "ComHost.h"

#include "CallPatience.h"
#include "ComValues.h"
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

// KORVANT shows a dialog or measures and takes no calls for now.
bool meansRejected(HRESULT result)
{
    return result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER;
}

CallStatus statusOf(HRESULT result)
{
    if (SUCCEEDED(result))
        return CallStatus::Ok;
    if (meansRejected(result))
        return CallStatus::Busy;
    return meansConnectionLost(result) ? CallStatus::ConnectionLost : CallStatus::Failed;
}

class TickClock : public patience::Clock
{
public:
    patience::Milliseconds now() override { return patience::Milliseconds(GetTickCount64()); }
    void pause(patience::Milliseconds duration) override { Sleep(static_cast<DWORD>(duration.count())); }
};

// Makes a call again while KORVANT rejects it, within the patience's limits.
// Wine never asks the message filter about a rejected call, so the adapter
// retries itself; where the platform asked the filter, the time is used up
// already and the rejection stands.
template <typename Call> HRESULT patiently(Call call)
{
    TickClock clock;
    HRESULT outcome = S_OK;
    patience::retryWhileRejected(clock, [&] {
        outcome = call();
        return meansRejected(outcome);
    });
    return outcome;
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
    return patiently([&] {
        EXCEPINFO exception{};
        UINT wrongArgument = 0;
        const HRESULT outcome = object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters,
                                               result, &exception, &wrongArgument);
        if (outcome == DISP_E_EXCEPTION) {
            SysFreeString(exception.bstrSource);
            SysFreeString(exception.bstrDescription);
            SysFreeString(exception.bstrHelpFile);
        }
        return outcome;
    });
}

// Asks an object for IDispatch; the one reference gained is the caller's.
CallResult<IDispatch*> askForDispatch(IUnknown* object)
{
    IDispatch* dispatch = nullptr;
    const HRESULT outcome =
        patiently([&] { return object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)); });
    if (FAILED(outcome) || !dispatch)
        return {SUCCEEDED(outcome) ? CallStatus::Failed : statusOf(outcome), nullptr};
    return {CallStatus::Ok, dispatch};
}

// The type each scalar property has in KORVANT's automation; VT_DISPATCH for
// the properties that hold objects.
VARTYPE propertyType(Interface addressedTo, int dispid)
{
    if (addressedTo == Interface::Command && dispid == dispid::DimensionFlag)
        return VT_BOOL;
    if (addressedTo == Interface::Command && dispid == dispid::TypeCode)
        return VT_I4;
    if (addressedTo == Interface::Dimension &&
        (dispid == dispid::Nominal || dispid == dispid::PlusTolerance || dispid == dispid::MinusTolerance))
        return VT_R8;
    if ((addressedTo == Interface::Dimension && dispid == dispid::AxisText) ||
        (addressedTo == Interface::PartProgram && dispid == dispid::DefaultValue))
        return VT_BSTR;
    return VT_DISPATCH;
}

// An object as KORVANT returned it. A VT_DISPATCH is the interface KORVANT
// hands out for this property (perhaps a second one of the same object):
// asking it for IDispatch again could give another interface with other
// members. Only a bare IUnknown is asked for IDispatch.
CallResult<Value> toObject(ComHost& host, VARIANT& variant)
{
    if (variant.vt == VT_EMPTY || !variant.punkVal)
        return {CallStatus::Ok, ObjectRef{}};
    if (variant.vt == VT_DISPATCH) {
        variant.pdispVal->AddRef();
        return {CallStatus::Ok, host.keep(variant.pdispVal)};
    }
    const CallResult<IDispatch*> dispatch = askForDispatch(variant.punkVal);
    if (!dispatch.ok())
        return {dispatch.status, {}};
    return {CallStatus::Ok, host.keep(dispatch.value)};
}

} // namespace

CallResult<Value> comvalues::toValue(ComHost& host, VARIANT& variant, Interface addressedTo, int dispid)
{
    if ((variant.vt & VT_BYREF) && FAILED(VariantCopyInd(&variant, &variant)))
        return {CallStatus::Failed, {}};
    if (variant.vt == VT_DISPATCH || variant.vt == VT_UNKNOWN)
        return toObject(host, variant);
    const VARTYPE type = propertyType(addressedTo, dispid);
    if (type == VT_DISPATCH && variant.vt == VT_EMPTY)
        return toObject(host, variant);
    // Converted as a typed automation client converts: Empty reads as false,
    // 0 or "", text as a number in the user's locale; Null, an error value or
    // a value that does not convert is a failed read.
    if (type == VT_DISPATCH || variant.vt == VT_NULL || variant.vt == VT_ERROR ||
        FAILED(VariantChangeType(&variant, &variant, 0, type)))
        return {CallStatus::Failed, {}};
    switch (type) {
    case VT_BOOL:
        return {CallStatus::Ok, variant.boolVal != VARIANT_FALSE};
    case VT_I4:
        return {CallStatus::Ok, static_cast<std::int32_t>(variant.lVal)};
    case VT_R8:
        return {CallStatus::Ok, variant.dblVal};
    default:
        return {CallStatus::Ok, toUtf8(variant.bstrVal)};
    }
}

namespace {

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
        const HRESULT outcome = patiently([&] { return m_elements->Next(1, &element.value, &fetched); });
        // A walk that breaks off has not visited the commands after it: the
        // run must not end as if it had.
        if (FAILED(outcome))
            return {meansRejected(outcome) ? CallStatus::Busy : CallStatus::ConnectionLost, std::nullopt};
        // S_FALSE may come with the last element: it is visited all the same.
        if (fetched == 0)
            return {CallStatus::Ok, std::nullopt};
        CallResult<Value> value = comvalues::toValue(m_host, element.value, Interface::Command, dispid::DimensionView);
        if (value.status == CallStatus::ConnectionLost || value.status == CallStatus::Busy)
            return {value.status, std::nullopt};
        // An element that is no object, or does not answer IDispatch, stays
        // in the walk as the empty reference: no call reaches it.
        const ObjectRef* object = std::get_if<ObjectRef>(&value.value);
        return {CallStatus::Ok, object ? *object : ObjectRef{}};
    }

private:
    ComHost& m_host;
    IEnumVARIANT* m_elements;
};

// How often a message arrives while a call waits, so that the filter is asked.
constexpr UINT WakeIntervalMs = 250;

} // namespace

// Where the platform asks, it is told to retry a rejected call and to cancel
// a call that KORVANT leaves unanswered. Dalmerin serves no calls of its own.
class PatientFilter final : public IMessageFilter
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override
    {
        if (interfaceId == IID_IUnknown || interfaceId == IID_IMessageFilter) {
            *object = static_cast<IMessageFilter*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; } // lives as long as its host
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override
    {
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD sinceCall, DWORD) override
    {
        const auto pause = m_watch.rejected(patience::Milliseconds(sinceCall));
        return pause ? static_cast<DWORD>(pause->count()) : static_cast<DWORD>(-1);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD sinceCall, DWORD) override
    {
        return m_watch.cancelsWaiting(patience::Milliseconds(sinceCall)) ? PENDINGMSG_CANCELCALL
                                                                         : PENDINGMSG_WAITDEFPROCESS;
    }

private:
    patience::CallWatch m_watch;
};

std::unique_ptr<Host> createPlatformHost()
{
    return std::make_unique<ComHost>();
}

ComHost::ComHost()
{
    // S_FALSE: the thread is in its apartment already (the GUI toolkit's OLE);
    // it is joined once more and left once more.
    m_apartmentJoined = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    m_filter = std::make_unique<PatientFilter>();
    if (FAILED(CoRegisterMessageFilter(m_filter.get(), &m_previousFilter)))
        m_filter.reset();
    // A thread timer: its messages reach the waiting call without any window.
    m_wakeTimer = SetTimer(nullptr, 0, WakeIntervalMs, nullptr);
}

ComHost::~ComHost()
{
    endRun();
    if (m_wakeTimer)
        KillTimer(nullptr, m_wakeTimer);
    if (m_filter) {
        IMessageFilter* ours = nullptr;
        CoRegisterMessageFilter(m_previousFilter, &ours);
        if (m_previousFilter)
            m_previousFilter->Release();
    }
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
    const HRESULT outcome = patiently([&] {
        return CoCreateInstance(applicationClass, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(&application));
    });
    if (meansRejected(outcome))
        return {CallStatus::Busy, {}};
    if (FAILED(outcome) || !application)
        return {CallStatus::Failed, {}};
    return {CallStatus::Ok, keep(application)};
}

CallResult<Value> ComHost::get(ObjectRef object, Interface addressedTo, int dispid)
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
    return comvalues::toValue(*this, result.value, addressedTo, dispid);
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
    IUnknown* answered = result.value.punkVal;
    outcome = patiently(
        [&] { return answered->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&elements)); });
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
