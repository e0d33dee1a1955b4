#pragma once

#include "transfer/core/KorvantHost.h"
#include "korvant-sim/SimHost.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The transfer's host interface served in-process by the stand-in's objects:
// no bus, no window. Records each call and the references it hands out.
class FakeHost : public korvant::Host
{
public:
    explicit FakeHost(sim::SimHost& objects) : m_objects(objects) {}

    bool running = true;                // KORVANT's window is there
    bool offersApplication = true;      // the application object can be made
    std::optional<long> loseAfterCalls; // the connection is gone after this many gets and puts
    korvant::CallStatus lostAs = korvant::CallStatus::ConnectionLost; // or Busy
    bool carriesOutLostPut = false; // the put the connection is lost at reached the host all the same
    // A get of command n (from 1) answered with this value instead.
    struct OddAnswer
    {
        std::size_t command;
        int dispid;
        korvant::Value value;
    };
    std::vector<OddAnswer> oddAnswers;
    // The enumeration tells its count in advance, as over D-Bus, where a step
    // costs no call. Without it, as over COM, each step is a call ("next"),
    // counted with the gets and puts, and the one after the last finds the end.
    bool tellsCount = true;
    // The enumeration's step n (from 1; step n fetches command n) answers so.
    std::optional<std::pair<std::size_t, korvant::CallStatus>> failingStep;
    // Called with each get, put and enumeration, counted from 1, before it is answered.
    std::function<void(long call)> onCall;

    bool findHostWindow() override;
    korvant::CallResult<korvant::ObjectRef> createApplication() override;
    korvant::CallResult<korvant::Value> get(korvant::ObjectRef object, korvant::Interface interface,
                                            int dispid) override;
    korvant::CallStatus put(korvant::ObjectRef object, korvant::Interface interface, int dispid,
                            const korvant::Value& value) override;
    korvant::CallResult<std::unique_ptr<korvant::Enumerator>>
    enumerate(korvant::ObjectRef collection) override;
    void release(korvant::ObjectRef object) override;
    void endRun() override;

    // "find", "create", "get 17 #3" (command 3, counted from 1), "put 15 #3", "enumerate", "next".
    const std::vector<std::string>& calls() const { return m_calls; }
    // The calls that touched command n (counted from 1).
    std::vector<std::string> callsOn(std::size_t command) const;
    std::size_t liveReferences() const { return m_live.size(); }
    int endedRuns() const { return m_endedRuns; }

    korvant::ObjectRef refer(const sim::ObjectAddress& address);
    // An enumeration step: Ok, or how it fails.
    korvant::CallStatus step(std::size_t n);

private:
    void record(const std::string& what, const sim::ObjectAddress* address);
    bool connectionLost();

    sim::SimHost& m_objects;
    std::map<std::uint64_t, sim::ObjectAddress> m_live;
    std::uint64_t m_nextId = 1;
    std::vector<std::string> m_calls;
    long m_hostCalls = 0;
    int m_endedRuns = 0;
};
