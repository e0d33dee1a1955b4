#pragma once

#include "transfer/core/KorvantHost.h"
#include "transfer/host/com/ComValues.h"
#include "transfer/host/com/MessageFilter.h"

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
    korvant::CallResult<korvant::Value> get(korvant::ObjectRef object, korvant::Interface addressedTo,
                                            int dispid) override;
    korvant::CallStatus put(korvant::ObjectRef object, korvant::Interface addressedTo, int dispid,
                            const korvant::Value& value) override;
    korvant::CallResult<std::unique_ptr<korvant::Enumerator>>
    enumerate(korvant::ObjectRef collection) override;
    void release(korvant::ObjectRef object) override;
    void endRun() override;

private:
    struct Apartment
    {
        Apartment();
        ~Apartment();
        bool joined;
    };

    IDispatch* lookUp(korvant::ObjectRef object) const;

    // In this order: the apartment is joined before the filter is registered
    // and left after it is taken back.
    Apartment m_apartment;
    PatientMessageFilter m_filter;
    comvalues::ComObjects m_objects;
};
