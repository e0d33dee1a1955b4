#include "transfer/host/com/ComHost.h"

#include "transfer/host/PlatformHost.h"
#include "transfer/host/com/ComCallRules.h"
#include "transfer/host/com/ComEnumerator.h"

#include <oleauto.h>

using namespace korvant;

namespace {

const char* const HostWindowClass = "BrenholtKORVANTWndClass";
const wchar_t* const ApplicationClass = L"KVTLRN.Application";

} // namespace

std::unique_ptr<Host> createPlatformHost()
{
    return std::make_unique<ComHost>();
}

// S_FALSE: the thread is in its apartment already (the GUI toolkit's OLE);
// it is joined once more and left once more.
ComHost::Apartment::Apartment() : joined(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ComHost::Apartment::~Apartment()
{
    if (joined)
        CoUninitialize();
}

ComHost::ComHost() = default;

ComHost::~ComHost()
{
    endRun();
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
    const HRESULT outcome = comcalls::patiently([&] {
        return CoCreateInstance(applicationClass, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(&application));
    });
    if (comcalls::meansRejected(outcome))
        return {CallStatus::Busy, {}};
    if (FAILED(outcome) || !application)
        return {CallStatus::Failed, {}};
    return {CallStatus::Ok, m_objects.keep(application)};
}

CallResult<Value> ComHost::get(ObjectRef object, Interface addressedTo, int dispid)
{
    IDispatch* target = lookUp(object);
    if (!target)
        return {CallStatus::Failed, {}};
    DISPPARAMS noArguments{};
    comvalues::Variant result;
    const HRESULT outcome =
        comcalls::invoke(target, dispid, DISPATCH_PROPERTYGET | DISPATCH_METHOD, noArguments, &result.value);
    if (FAILED(outcome))
        return {comcalls::statusOf(outcome), {}};
    return comvalues::toValue(m_objects, result.value, addressedTo, dispid);
}

CallStatus ComHost::put(ObjectRef object, Interface, int dispid, const Value& value)
{
    IDispatch* target = lookUp(object);
    comvalues::Variant argument;
    if (!target || !comvalues::fromValue(value, argument.value))
        return CallStatus::Failed;
    DISPID namedArgument = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{&argument.value, &namedArgument, 1, 1};
    return comcalls::statusOf(comcalls::invoke(target, dispid, DISPATCH_PROPERTYPUT, parameters, nullptr));
}

CallResult<std::unique_ptr<Enumerator>> ComHost::enumerate(ObjectRef collection)
{
    IDispatch* target = lookUp(collection);
    if (!target)
        return {CallStatus::Failed, nullptr};
    DISPPARAMS noArguments{};
    comvalues::Variant result;
    HRESULT outcome = comcalls::invoke(target, DISPID_NEWENUM, DISPATCH_PROPERTYGET | DISPATCH_METHOD,
                                       noArguments, &result.value);
    if (FAILED(outcome))
        return {comcalls::statusOf(outcome), nullptr};
    if ((result.value.vt != VT_UNKNOWN && result.value.vt != VT_DISPATCH) || !result.value.punkVal)
        return {CallStatus::Failed, nullptr};
    IEnumVARIANT* elements = nullptr;
    IUnknown* answered = result.value.punkVal;
    outcome = comcalls::patiently(
        [&] { return answered->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&elements)); });
    if (FAILED(outcome) || !elements)
        return {SUCCEEDED(outcome) ? CallStatus::Failed : comcalls::statusOf(outcome), nullptr};
    return {CallStatus::Ok, std::make_unique<ComEnumerator>(m_objects, elements)};
}

IDispatch* ComHost::lookUp(ObjectRef object) const
{
    IDispatch* const* found = m_objects.find(object);
    return found ? *found : nullptr;
}

void ComHost::release(ObjectRef object)
{
    if (const std::optional<IDispatch*> taken = m_objects.take(object))
        (*taken)->Release();
}

void ComHost::endRun()
{
    m_objects.clear([](IDispatch* object) { object->Release(); });
}
