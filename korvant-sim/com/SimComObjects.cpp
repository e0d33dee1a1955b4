#include "korvant-sim/com/SimComObjects.h"

#include <oleauto.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace simcom {
namespace {

// The command's dispatch identifier whose result is the command seen as a dimension.
constexpr int DimensionView = 8;
// The dimension's nominal, minus and plus tolerance: a command with a second
// view has members of its own under these on its command interface. The axis
// text both interfaces carry.
constexpr int OwnMembers[] = {10, 14, 15};
constexpr int AxisText = 29;

long liveCount = 0;

// Reference counting and the live-object count, for every object handed out.
template <typename Interface> class Counted : public Interface
{
public:
    Counted() { ++liveCount; }
    virtual ~Counted() { --liveCount; }
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;

    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    HRESULT answerQuery(REFIID asked, REFIID own, void** object)
    {
        if (!object)
            return E_POINTER;
        if (asked == IID_IUnknown || asked == own) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

private:
    ULONG m_references = 1;
};

BSTR toBstr(const std::string& utf8)
{
    const int length = static_cast<int>(utf8.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(size));
    if (text && size > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, text, size);
    return text;
}

class SimObject;
SimObject* application = nullptr; // the one alive, not owned

// One of the stand-in's objects, answering the calls of one KORVANT interface.
// Given a primary, it is a second interface of that object: asked for any
// interface, it answers as the primary does.
class SimObject final : public Counted<IDispatch>
{
public:
    SimObject(Server& server, sim::ObjectAddress address, std::string interfaceName,
              IDispatch* primary = nullptr)
        : m_server(server), m_address(address), m_interface(std::move(interfaceName)), m_primary(primary)
    {
        if (m_primary)
            m_primary->AddRef();
    }
    ~SimObject() override
    {
        if (application == this)
            application = nullptr;
        if (m_primary)
            m_primary->Release();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override
    {
        if (m_primary)
            return m_primary->QueryInterface(interfaceId, object);
        return answerQuery(interfaceId, IID_IDispatch, object);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD kind, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO*, UINT*) override;

private:
    HRESULT get(int dispid, VARIANT& result);
    HRESULT reshape(int dispid, VARIANT& result) const;
    HRESULT put(int dispid, const DISPPARAMS& parameters);
    bool isOwnMember(int dispid) const;

    Server& m_server;
    sim::ObjectAddress m_address;
    std::string m_interface;
    IDispatch* m_primary;
};

// The enumeration of the command collection: its commands in order.
class CommandEnumerator final : public Counted<IEnumVARIANT>
{
public:
    CommandEnumerator(Server& server, std::vector<sim::ObjectAddress> commands, std::size_t next = 0)
        : m_server(server), m_commands(std::move(commands)), m_next(next)
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override
    {
        return answerQuery(interfaceId, IID_IEnumVARIANT, object);
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* elements, ULONG* fetched) override
    {
        ULONG given = 0;
        if (fetched)
            *fetched = 0;
        if (m_server.answers.failingNext && m_next + 1 == *m_server.answers.failingNext)
            return E_FAIL;
        if (m_server.answers.leavingNext && m_next + 1 == *m_server.answers.leavingNext)
            return m_server.leave();
        for (; given < wanted && m_next < m_commands.size(); ++given) {
            VariantInit(&elements[given]);
            elements[given].vt = VT_DISPATCH;
            elements[given].pdispVal = new SimObject(m_server, m_commands[m_next++],
                                                     sim::interfacesOf(sim::ObjectKind::Command).front());
        }
        if (fetched)
            *fetched = given;
        if (m_server.answers.falseWithLast && given > 0 && m_next == m_commands.size())
            return S_FALSE;
        return given == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        const std::size_t left = m_commands.size() - m_next;
        m_next += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_next = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override
    {
        *copy = new CommandEnumerator(m_server, m_commands, m_next);
        return S_OK;
    }

private:
    Server& m_server;
    std::vector<sim::ObjectAddress> m_commands;
    std::size_t m_next;
};

// The interface a returned object answers: a command asked for its dimension
// view is the dimension; every other object answers its own kind's interface.
std::string interfaceOfResult(sim::ObjectKind kind, int dispid)
{
    const std::vector<std::string> offered = sim::interfacesOf(kind);
    return kind == sim::ObjectKind::Command && dispid == DimensionView ? offered.back() : offered.front();
}

HRESULT SimObject::Invoke(DISPID dispid, REFIID, LCID, WORD kind, DISPPARAMS* parameters, VARIANT* result,
                          EXCEPINFO*, UINT*)
{
    const HRESULT admitted = m_server.admitCall();
    if (FAILED(admitted))
        return admitted;
    if (!parameters)
        return E_INVALIDARG;
    if (kind & DISPATCH_PROPERTYPUT)
        return put(dispid, *parameters);
    if (parameters->cArgs != 0)
        return DISP_E_BADPARAMCOUNT;
    VARIANT unused;
    VariantInit(&unused);
    const HRESULT outcome = get(dispid, result ? *result : unused);
    VariantClear(&unused);
    return outcome;
}

// Whether the call reaches a member of the command's own interface that its
// dimension view has under the same DISPID.
bool SimObject::isOwnMember(int dispid) const
{
    return m_server.answers.secondView &&
           m_interface == sim::interfacesOf(sim::ObjectKind::Command).front() &&
           std::find(std::begin(OwnMembers), std::end(OwnMembers), dispid) != std::end(OwnMembers);
}

HRESULT SimObject::get(int dispid, VARIANT& result)
{
    if (isOwnMember(dispid)) {
        const auto written = m_server.commandMembers.find({m_address.command, dispid});
        VariantInit(&result);
        result.vt = VT_R8;
        result.dblVal = written == m_server.commandMembers.end() ? 0 : written->second;
        return S_OK;
    }
    const bool shared =
        m_server.answers.secondView && m_address.kind == sim::ObjectKind::Command && dispid == AxisText;
    const sim::SimReply reply =
        m_server.host.get(m_address, shared ? sim::interfacesOf(m_address.kind).back() : m_interface, dispid);
    if (!reply.ok)
        return DISP_E_MEMBERNOTFOUND;
    VariantInit(&result);
    if (const bool* flag = std::get_if<bool>(&reply.value)) {
        result.vt = VT_BOOL;
        result.boolVal = *flag ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (const std::int32_t* integer = std::get_if<std::int32_t>(&reply.value)) {
        result.vt = VT_I4;
        result.lVal = *integer;
    } else if (const double* number = std::get_if<double>(&reply.value)) {
        result.vt = VT_R8;
        result.dblVal = *number;
    } else if (const std::string* text = std::get_if<std::string>(&reply.value)) {
        result.vt = VT_BSTR;
        result.bstrVal = toBstr(*text);
    } else if (const sim::ObjectAddress* object = std::get_if<sim::ObjectAddress>(&reply.value)) {
        const bool secondView = m_server.answers.secondView && dispid == DimensionView;
        result.vt = VT_DISPATCH;
        result.pdispVal = new SimObject(m_server, *object, interfaceOfResult(object->kind, dispid),
                                        secondView ? this : nullptr);
    } else if (const auto* commands = std::get_if<std::vector<sim::ObjectAddress>>(&reply.value)) {
        result.vt = VT_UNKNOWN;
        result.punkVal = new CommandEnumerator(m_server, *commands);
    } else { // the empty reference, Nothing
        result.vt = VT_DISPATCH;
        result.pdispVal = nullptr;
    }
    return reshape(dispid, result);
}

bool appliesTo(const std::vector<sim::InjectedFault>& faults, const sim::ObjectAddress& object, int dispid)
{
    for (const sim::InjectedFault& fault : faults)
        if (sim::appliesTo(fault, object, dispid))
            return true;
    return false;
}

// The value as a real automation server may give it instead.
HRESULT SimObject::reshape(int dispid, VARIANT& result) const
{
    const ComAnswers& answers = m_server.answers;
    if (appliesTo(answers.emptyGets, m_address, dispid))
        return VariantClear(&result);
    if (appliesTo(answers.shortGets, m_address, dispid))
        return VariantChangeType(&result, &result, 0, VT_I2);
    if (appliesTo(answers.textGets, m_address, dispid))
        return VariantChangeType(&result, &result, 0, VT_BSTR);
    return S_OK;
}

// A put carries one value, named as the property's new value.
HRESULT SimObject::put(int dispid, const DISPPARAMS& parameters)
{
    if (parameters.cArgs != 1 || parameters.cNamedArgs != 1 ||
        parameters.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
        return DISP_E_PARAMNOTFOUND;
    VARIANT number;
    VariantInit(&number);
    if (FAILED(VariantChangeType(&number, &parameters.rgvarg[0], 0, VT_R8)))
        return DISP_E_TYPEMISMATCH;
    if (isOwnMember(dispid)) {
        m_server.commandMembers[{m_address.command, dispid}] = number.dblVal;
        return S_OK;
    }
    const sim::SimReply reply = m_server.host.put(m_address, m_interface, dispid, number.dblVal);
    return reply.ok ? S_OK : DISP_E_MEMBERNOTFOUND;
}

} // namespace

long liveObjects()
{
    return liveCount;
}

HRESULT Server::leave()
{
    leaving = true;
    PostMessageW(window, WM_CLOSE, 0, 0);
    return RPC_E_DISCONNECTED;
}

HRESULT Server::admitCall()
{
    switch (host.admitCall()) {
    case sim::CallHandling::Answer:
        break;
    case sim::CallHandling::AnswerThenLeave:
        leaving = true;
        PostMessageW(window, WM_CLOSE, 0, 0);
        break;
    case sim::CallHandling::Ignore:
        if (leaving)
            return RPC_E_DISCONNECTED;
        for (;;)
            Sleep(INFINITE); // silent from now on, until the process is ended
    }
    if (host.faults().replyDelayMs > 0)
        Sleep(static_cast<DWORD>(host.faults().replyDelayMs));
    return S_OK;
}

HRESULT BusyFilter::QueryInterface(REFIID interfaceId, void** object)
{
    if (interfaceId == IID_IUnknown || interfaceId == IID_IMessageFilter) {
        *object = static_cast<IMessageFilter*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

// Busy begins with the first call after the answered ones and lasts its time.
DWORD BusyFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO)
{
    const ComAnswers& answers = m_server.answers;
    if (!answers.busyAfterCalls || m_server.host.callCount() < *answers.busyAfterCalls)
        return SERVERCALL_ISHANDLED;
    const ULONGLONG now = GetTickCount64();
    if (!m_busySince)
        m_busySince = now;
    if (answers.busyForMs && now - *m_busySince >= static_cast<ULONGLONG>(*answers.busyForMs))
        return SERVERCALL_ISHANDLED;
    return answers.retryLater ? SERVERCALL_RETRYLATER : SERVERCALL_REJECTED;
}

HRESULT ApplicationFactory::QueryInterface(REFIID interfaceId, void** object)
{
    if (interfaceId == IID_IUnknown || interfaceId == IID_IClassFactory) {
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT ApplicationFactory::CreateInstance(IUnknown* outer, REFIID interfaceId, void** object)
{
    if (outer)
        return CLASS_E_NOAGGREGATION;
    if (application)
        return application->QueryInterface(interfaceId, object);
    application = new SimObject(m_server, sim::ObjectAddress{sim::ObjectKind::Application, 0},
                                sim::interfacesOf(sim::ObjectKind::Application).front());
    const HRESULT outcome = application->QueryInterface(interfaceId, object);
    application->Release(); // the asker holds the only reference, or none
    return outcome;
}

} // namespace simcom
