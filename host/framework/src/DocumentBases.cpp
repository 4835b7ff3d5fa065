#include <orv/IDocument.h>
#include <orv/IStatusManager.h>
#include <orvimp/IDocument.h>

// The interfaces' key functions: their virtual tables and type information
// live here, once for every module.
orv::IDocument::~IDocument() = default;
orvimp::IDocument::~IDocument() = default;
orv::IStatusManager::~IStatusManager() = default;
