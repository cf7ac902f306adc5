// The CUPS client library, loaded the first time a card goes to a CUPS queue. The library
// brings some thirty further libraries with it (TLS, Kerberos, D-Bus, ...); loading them at
// every start would cost each punch and each back-office command several milliseconds, for a
// printer most runs never use.
#pragma once

#include <cups/cups.h>

namespace shiftlog {

// The library's functions this program calls, under their own names.
struct CupsLibrary {
  decltype(&::cupsServer) cupsServer;
  decltype(&::cupsSetServer) cupsSetServer;
  decltype(&::cupsEncryption) cupsEncryption;
  decltype(&::ippPort) ippPort;
  decltype(&::httpConnect2) httpConnect2;
  decltype(&::httpSetTimeout) httpSetTimeout;
  decltype(&::httpClose) httpClose;
  decltype(&::httpAssembleURIf) httpAssembleURIf;
  decltype(&::cupsGetNamedDest) cupsGetNamedDest;
  decltype(&::cupsFreeDests) cupsFreeDests;
  decltype(&::ippNewRequest) ippNewRequest;
  decltype(&::ippAddString) ippAddString;
  decltype(&::ippAddStrings) ippAddStrings;
  decltype(&::cupsDoRequest) cupsDoRequest;
  decltype(&::ippGetStatusCode) ippGetStatusCode;
  decltype(&::ippFindAttribute) ippFindAttribute;
  decltype(&::ippGetInteger) ippGetInteger;
  decltype(&::ippGetBoolean) ippGetBoolean;
  decltype(&::ippDelete) ippDelete;
  decltype(&::cupsCreateJob) cupsCreateJob;
  decltype(&::cupsStartDocument) cupsStartDocument;
  decltype(&::cupsWriteRequestData) cupsWriteRequestData;
  decltype(&::cupsFinishDocument) cupsFinishDocument;
  decltype(&::cupsCancelJob2) cupsCancelJob2;
};

// The loaded library; nothing when it is not installed (or lacks a function), which the
// caller treats as a spooler that cannot be reached. Loaded once, kept for the run.
const CupsLibrary* LoadCupsLibrary();

}  // namespace shiftlog
