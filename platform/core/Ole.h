#pragma once
// Result codes of the component object model and the per-thread count of its
// initialisation. Nothing here loads a component runtime: the stand-ins that
// answer through these codes are plain C++ objects, and the count only keeps
// callers that pair initialise and uninitialise honest.

#include <cstdint>

namespace core {

using HRESULT = std::int32_t;

constexpr HRESULT MakeHResult(std::uint32_t code) { return static_cast<HRESULT>(code); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = MakeHResult(0x80004001u);
constexpr HRESULT E_NOINTERFACE = MakeHResult(0x80004002u);
constexpr HRESULT E_POINTER = MakeHResult(0x80004003u);
constexpr HRESULT E_FAIL = MakeHResult(0x80004005u);
constexpr HRESULT E_UNEXPECTED = MakeHResult(0x8000FFFFu);
constexpr HRESULT E_OUTOFMEMORY = MakeHResult(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = MakeHResult(0x80070057u);
constexpr HRESULT RPC_E_CHANGED_MODE = MakeHResult(0x80010106u);

constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }
constexpr bool Failed(HRESULT hr) { return hr < 0; }

// S_OK for the first initialisation of the calling thread, S_FALSE for every further one.
HRESULT OleInitialize(void* reserved = nullptr);
// Undoes one initialisation; an unpaired call does nothing.
void OleUninitialize();
// How many initialisations of the calling thread are not yet undone.
int OleInitCount();

} // namespace core
