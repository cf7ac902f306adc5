#include "host/cups_library.h"

#include <dlfcn.h>

#include <mutex>

namespace shiftlog {

namespace {

template <typename Function>
bool Find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

const CupsLibrary* Load() {
  void* library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return nullptr;
  static CupsLibrary cups;
  const bool complete =
      Find(library, "cupsServer", cups.cupsServer) && Find(library, "cupsSetServer", cups.cupsSetServer) &&
      Find(library, "cupsEncryption", cups.cupsEncryption) && Find(library, "ippPort", cups.ippPort) &&
      Find(library, "httpConnect2", cups.httpConnect2) &&
      Find(library, "httpSetTimeout", cups.httpSetTimeout) && Find(library, "httpClose", cups.httpClose) &&
      Find(library, "httpAssembleURIf", cups.httpAssembleURIf) &&
      Find(library, "cupsGetNamedDest", cups.cupsGetNamedDest) &&
      Find(library, "cupsFreeDests", cups.cupsFreeDests) &&
      Find(library, "ippNewRequest", cups.ippNewRequest) &&
      Find(library, "ippAddString", cups.ippAddString) &&
      Find(library, "ippAddStrings", cups.ippAddStrings) &&
      Find(library, "cupsDoRequest", cups.cupsDoRequest) &&
      Find(library, "ippGetStatusCode", cups.ippGetStatusCode) &&
      Find(library, "ippFindAttribute", cups.ippFindAttribute) &&
      Find(library, "ippGetInteger", cups.ippGetInteger) &&
      Find(library, "ippGetBoolean", cups.ippGetBoolean) && Find(library, "ippDelete", cups.ippDelete) &&
      Find(library, "cupsCreateJob", cups.cupsCreateJob) &&
      Find(library, "cupsStartDocument", cups.cupsStartDocument) &&
      Find(library, "cupsWriteRequestData", cups.cupsWriteRequestData) &&
      Find(library, "cupsFinishDocument", cups.cupsFinishDocument) &&
      Find(library, "cupsCancelJob2", cups.cupsCancelJob2);
  // The library stays loaded either way: unloading a library that may have started threads or
  // registered handlers is not worth the memory.
  return complete ? &cups : nullptr;
}

}  // namespace

const CupsLibrary* LoadCupsLibrary() {
  static std::once_flag once;
  static const CupsLibrary* library = nullptr;
  std::call_once(once, [] { library = Load(); });
  return library;
}

}  // namespace shiftlog
