#include "tests/transfer/FakeHost.h"

using namespace korvant;

namespace {

class FakeEnumerator : public Enumerator
{
public:
    FakeEnumerator(FakeHost& host, std::vector<sim::ObjectAddress> elements)
        : m_host(host), m_elements(std::move(elements))
    {
    }

    std::optional<std::size_t> count() const override
    {
        return m_host.tellsCount ? std::optional<std::size_t>(m_elements.size()) : std::nullopt;
    }

    CallResult<std::optional<ObjectRef>> next() override
    {
        if (const CallStatus status = m_host.step(m_next + 1); status != CallStatus::Ok)
            return {status, std::nullopt};
        if (m_next == m_elements.size())
            return {CallStatus::Ok, std::nullopt};
        return {CallStatus::Ok, m_host.refer(m_elements[m_next++])};
    }

private:
    FakeHost& m_host;
    std::vector<sim::ObjectAddress> m_elements;
    std::size_t m_next = 0;
};

} // namespace

void FakeHost::record(const std::string& what, const sim::ObjectAddress* address)
{
    std::string entry = what;
    if (address && address->kind == sim::ObjectKind::Command)
        entry += " #" + std::to_string(address->command + 1);
    m_calls.push_back(entry);
}

bool FakeHost::connectionLost()
{
    ++m_hostCalls;
    if (onCall)
        onCall(m_hostCalls);
    return loseAfterCalls && m_hostCalls > *loseAfterCalls;
}

std::vector<std::string> FakeHost::callsOn(std::size_t command) const
{
    const std::string suffix = " #" + std::to_string(command);
    std::vector<std::string> found;
    for (const std::string& call : m_calls)
        if (call.size() > suffix.size() &&
            call.compare(call.size() - suffix.size(), suffix.size(), suffix) == 0)
            found.push_back(call.substr(0, call.size() - suffix.size()));
    return found;
}

ObjectRef FakeHost::refer(const sim::ObjectAddress& address)
{
    const ObjectRef reference{m_nextId++};
    m_live[reference.id] = address;
    return reference;
}

CallStatus FakeHost::step(std::size_t n)
{
    if (!tellsCount) {
        record("next", nullptr);
        if (connectionLost())
            return lostAs;
    }
    if (failingStep && failingStep->first == n)
        return failingStep->second;
    return CallStatus::Ok;
}

bool FakeHost::findHostWindow()
{
    record("find", nullptr);
    return running;
}

CallResult<ObjectRef> FakeHost::createApplication()
{
    record("create", nullptr);
    if (!offersApplication)
        return {CallStatus::Failed, {}};
    return {CallStatus::Ok, refer({sim::ObjectKind::Application, 0})};
}

CallResult<Value> FakeHost::get(ObjectRef object, Interface interface, int dispid)
{
    const auto found = m_live.find(object.id);
    if (found == m_live.end())
        return {CallStatus::Failed, {}}; // a released or unknown reference: a fault of the caller
    const sim::ObjectAddress address = found->second;
    record("get " + std::to_string(dispid), &address);
    if (connectionLost())
        return {lostAs, {}};
    for (const OddAnswer& odd : oddAnswers)
        if (address.kind == sim::ObjectKind::Command && address.command + 1 == odd.command &&
            dispid == odd.dispid)
            return {CallStatus::Ok, odd.value};
    const sim::SimReply reply = m_objects.get(address, interfaceName(interface), dispid);
    if (!reply.ok)
        return {CallStatus::Failed, {}};
    struct ToValue
    {
        FakeHost& host;
        CallResult<Value> operator()(bool flag) const { return {CallStatus::Ok, flag}; }
        CallResult<Value> operator()(std::int32_t integer) const { return {CallStatus::Ok, integer}; }
        CallResult<Value> operator()(double number) const { return {CallStatus::Ok, number}; }
        CallResult<Value> operator()(const std::string& text) const { return {CallStatus::Ok, text}; }
        CallResult<Value> operator()(const sim::ObjectAddress& address) const
        {
            return {CallStatus::Ok, host.refer(address)};
        }
        CallResult<Value> operator()(sim::EmptyReference) const { return {CallStatus::Ok, ObjectRef{}}; }
        CallResult<Value> operator()(const std::vector<sim::ObjectAddress>&) const
        {
            return {CallStatus::Failed, {}};
        }
    };
    return std::visit(ToValue{*this}, reply.value);
}

CallStatus FakeHost::put(ObjectRef object, Interface interface, int dispid, const Value& value)
{
    const auto found = m_live.find(object.id);
    if (found == m_live.end())
        return CallStatus::Failed;
    const sim::ObjectAddress address = found->second;
    record("put " + std::to_string(dispid), &address);
    const double* number = std::get_if<double>(&value);
    if (connectionLost()) {
        if (carriesOutLostPut && number)
            m_objects.put(address, interfaceName(interface), dispid, *number);
        return lostAs;
    }
    if (!number)
        return CallStatus::Failed;
    return m_objects.put(address, interfaceName(interface), dispid, *number).ok ? CallStatus::Ok
                                                                                : CallStatus::Failed;
}

CallResult<std::unique_ptr<Enumerator>> FakeHost::enumerate(ObjectRef collection)
{
    const auto found = m_live.find(collection.id);
    if (found == m_live.end())
        return {CallStatus::Failed, nullptr};
    record("enumerate", nullptr);
    if (connectionLost())
        return {lostAs, nullptr};
    const sim::SimReply reply =
        m_objects.get(found->second, interfaceName(Interface::Commands), dispid::Enumeration);
    const auto* elements = std::get_if<std::vector<sim::ObjectAddress>>(&reply.value);
    if (!reply.ok || !elements)
        return {CallStatus::Failed, nullptr};
    return {CallStatus::Ok, std::make_unique<FakeEnumerator>(*this, *elements)};
}

void FakeHost::release(ObjectRef object)
{
    m_live.erase(object.id);
}

void FakeHost::endRun()
{
    ++m_endedRuns;
}
