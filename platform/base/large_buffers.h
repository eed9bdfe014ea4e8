#pragma once
// Large buffers (a long list's text, the document's pieces) are kept in
// memory of their own, so that growing one moves its pages instead of
// copying it. Otherwise the C library raises that size after the first large
// buffer is freed (a second run, Clear), and every later doubling copies the
// whole buffer while the window waits.
namespace morvane {

void KeepLargeBuffersMapped();

}  // namespace morvane
