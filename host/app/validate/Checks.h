// The checks of one module, run in order on one Session (Child.cpp); each
// answers what it found wrong. A group of checks to a file.
#pragma once

#include "Session.h"

namespace orvhost::validate {

// EntryChecks.cpp: the two undecorated exports, createPlugin making an
// importer; destroyPlugin nulling the caller's pointer and answering 0.
Findings checkEntryPoints(Session& session);
Findings checkDestroyPlugin(Session& session);

// IdentityChecks.cpp: identity, name, version and release date.
Findings checkIdentity(Session& session);

// FilterChecks.cpp: the filter texts against their grammar; their copy into
// small buffers, which must stay within the capacity.
Findings checkFilterGrammar(Session& session);
Findings checkFilterCopy(Session& session);

// ImportChecks.cpp: canImport agreeing with the patterns, in any letter
// case; createDocument for a path it accepts.
Findings checkCanImport(Session& session);
Findings checkCreateDocument(Session& session);

// OptionChecks.cpp: option sets whose values and widgets pair up; a save
// and load round trip through a memory store.
Findings checkOptionSets(Session& session);
Findings checkRoundTrip(Session& session);

}  // namespace orvhost::validate
