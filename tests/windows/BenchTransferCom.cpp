// Benchmark under Wine: one transfer of a generated part program into the
// stand-in COM host (korvant-sim-com, its own process), either through
// Dalmerin's transfer and COM adapter or through a bare client that makes the
// same calls with plain IDispatch::Invoke and nothing of Dalmerin's. The
// script tools/bench-transfer-com.sh runs the two in turns and compares them.
// Prints one line "MODE COMMANDS MILLISECONDS CALLS PEAK_KIB WRITTEN"; asserts
// nothing about time. Usage: bench_transfer_com dalmerin|bare COMMANDS
#include "tests/transfer/BenchSupport.h"
#include "transfer/host/com/ComHost.h"
#include "tests/windows/ComStandIn.h"
#include "transfer/core/KorvantHost.h"
#include "transfer/core/TransferCommand.h"

#include "tests/support/PeakMemory.h"

#include <windows.h>
#include <oleauto.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The bare client's calls, each counted.
class BareCalls
{
public:
    std::uint64_t count = 0;

    VARIANT get(IDispatch* object, DISPID dispid)
    {
        VARIANT result;
        VariantInit(&result);
        DISPPARAMS none{};
        ++count;
        object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none,
                       &result, nullptr, nullptr);
        return result;
    }

    void put(IDispatch* object, DISPID dispid, double value)
    {
        VARIANT argument;
        argument.vt = VT_R8;
        argument.dblVal = value;
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS parameters{&argument, &named, 1, 1};
        ++count;
        object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &parameters, nullptr,
                       nullptr, nullptr);
    }
};

// The benchmark's table as plain rows, looked up as the transfer looks up.
struct Row
{
    double lower, upper, plus, minus;
};
const Row Rows[] = {{0, 3, 0.1, 0.1},          {3.00001, 6, 0.1, 0.1},     {6.00001, 30, 0.2, 0.2},
                    {30.00001, 120, 0.3, 0.3}, {120.00001, 400, 0.5, 0.5}, {400.00001, 1000, 0.8, 0.8}};

const Row* lookUp(double nominal)
{
    for (const Row& row : Rows)
        if (nominal >= row.lower && nominal <= row.upper)
            return &row;
    return nullptr;
}

bool qualifies(const wchar_t* axis, long typeCode)
{
    static const wchar_t* const Axes[] = {L"X", L"Y", L"Z", L"D", L"R", L"L", L"PR", L"H"};
    if (typeCode == 1106 || typeCode == 1107)
        return true;
    for (const wchar_t* candidate : Axes)
        if (axis && std::wcscmp(axis, candidate) == 0)
            return true;
    return false;
}

// The walk every transfer makes, with "OldVal" "0": attach, reach the
// commands, and per command its flag, view, type, four values and two puts.
std::uint64_t bareTransfer()
{
    namespace id = korvant::dispid;
    BareCalls calls;
    CLSID applicationClass{};
    IDispatch* application = nullptr;
    ++calls.count;
    // Without a host there is nothing to compare; the run reports no calls.
    if (FAILED(CLSIDFromProgID(L"KVTLRN.Application", &applicationClass)) ||
        FAILED(CoCreateInstance(applicationClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&application)))) {
        std::fprintf(stderr, "KVTLRN.Application nicht erreichbar\n");
        return 0;
    }
    VARIANT partProgram = calls.get(application, id::ActivePartProgram);
    VARIANT name = calls.get(partProgram.pdispVal, id::DefaultValue);
    VARIANT commands = calls.get(partProgram.pdispVal, id::Commands);
    VARIANT enumeration = calls.get(commands.pdispVal, DISPID_NEWENUM);
    IEnumVARIANT* elements = nullptr;
    ++calls.count;
    enumeration.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&elements));
    for (;;) {
        VARIANT command;
        VariantInit(&command);
        ULONG fetched = 0;
        ++calls.count;
        if (elements->Next(1, &command, &fetched) != S_OK || fetched == 0)
            break;
        VARIANT isDimension = calls.get(command.pdispVal, id::DimensionFlag);
        if (isDimension.boolVal != VARIANT_FALSE) {
            VARIANT dimension = calls.get(command.pdispVal, id::DimensionView);
            VARIANT typeCode = calls.get(command.pdispVal, id::TypeCode);
            if (typeCode.lVal != 1000 && typeCode.lVal != 1200) {
                VARIANT nominal = calls.get(dimension.pdispVal, id::Nominal);
                VARIANT plus = calls.get(dimension.pdispVal, id::PlusTolerance);
                VARIANT minus = calls.get(dimension.pdispVal, id::MinusTolerance);
                VARIANT axis = calls.get(dimension.pdispVal, id::AxisText);
                if (qualifies(axis.bstrVal, typeCode.lVal))
                    if (const Row* row = lookUp(std::fabs(nominal.dblVal))) {
                        calls.put(dimension.pdispVal, id::PlusTolerance, row->plus);
                        calls.put(dimension.pdispVal, id::MinusTolerance, -row->minus);
                    }
                VariantClear(&nominal);
                VariantClear(&plus);
                VariantClear(&minus);
                VariantClear(&axis);
            }
            VariantClear(&typeCode);
            VariantClear(&dimension);
        }
        VariantClear(&isDimension);
        VariantClear(&command);
    }
    elements->Release();
    VariantClear(&enumeration);
    VariantClear(&commands);
    VariantClear(&name);
    VariantClear(&partProgram);
    application->Release();
    return calls.count;
}

// The calls of one run over COM: the gets and puts (the class request among
// them), the enumeration's request and its IEnumVARIANT, and its steps: one per
// command and the one that ends it.
std::uint64_t comCalls(const sim::PartProgram& program)
{
    return bench::requiredOperations(program).operations + 2 + program.commands.size() + 1;
}

std::size_t writtenDimensions(const sim::PartProgram& program)
{
    std::size_t written = 0;
    for (const sim::Command& command : program.commands)
        written += command.plus != 0 || command.minus != 0;
    return written;
}

} // namespace

int main(int argc, char** argv)
{
    const bool bare = argc == 3 && std::strcmp(argv[1], "bare") == 0;
    if (argc != 3 || (!bare && std::strcmp(argv[1], "dalmerin") != 0) || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "Aufruf: bench_transfer_com dalmerin|bare BEFEHLE\n");
        return 2;
    }
    const auto count = static_cast<std::size_t>(std::atoi(argv[2]));
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const sim::PartProgram program = sim::generatePartProgram(count);
    int outcome = 1;
    {
        comstandin::StandIn standIn(program);
        if (!standIn.isRunning()) {
            std::fprintf(stderr, "korvant-sim-com startet nicht\n");
            return 1;
        }
        std::uint64_t calls = 0;
        const auto started = std::chrono::steady_clock::now();
        if (bare) {
            calls = bareTransfer();
        } else {
            bench::Port window;
            ComHost host;
            runTransfer(window, host);
            calls = comCalls(program);
        }
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - started;
        const long peakKiB = peakMemoryKiB();
        const std::size_t written = writtenDimensions(standIn.closeAndRead());
        std::printf("%s %zu %.1f %llu %ld %zu\n", bare ? "bare" : "dalmerin", count, elapsed.count(),
                    static_cast<unsigned long long>(calls), peakKiB, written);
        outcome = calls == comCalls(program) ? 0 : 1;
    }
    CoUninitialize();
    return outcome;
}
