#pragma once

#include "KorvantHost.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct IDispatch;
struct IMessageFilter;
class PatientFilter;

// KORVANT over COM automation, with the Windows API only. The running KORVANT
// owns a top-level window of the class "BrenholtKORVANTWndClass" and answers a
// request for an object of the class "KVTLRN.Application" with its application
// object. Every reference is asked for IDispatch (KORVANT's own interface
// identifiers are not known here); one that does not answer counts as a failed
// call. Gets and puts go by dispatch identifier through IDispatch::Invoke,
// the enumeration through DISPID_NEWENUM and IEnumVARIANT. A message filter
// retries calls a busy KORVANT rejects and cancels calls it leaves unanswered
// (see CallPatience.h).
class ComHost : public korvant::Host
{
public:
    // Joins the calling thread, the user-interface thread, to a
    // single-threaded apartment for as long as the host lives.
    ComHost();
    ~ComHost() override;
    ComHost(const ComHost&) = delete;
    ComHost& operator=(const ComHost&) = delete;

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

    // Takes over one reference to an object that answered IDispatch.
    korvant::ObjectRef keep(IDispatch* object);

private:
    IDispatch* lookUp(korvant::ObjectRef object) const;

    bool m_apartmentJoined = false;
    std::unique_ptr<PatientFilter> m_filter;
    IMessageFilter* m_previousFilter = nullptr;
    std::uintptr_t m_wakeTimer = 0;
    std::vector<IDispatch*> m_objects; // by reference id - 1; null is a free slot
    std::vector<std::size_t> m_freeSlots;
};
