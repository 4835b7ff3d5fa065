#include "Checks.h"

#include "Text.h"

#include <orvimp/IDocument.h>
#include <orvimp/IImporter.h>

#include <cwctype>
#include <memory>
#include <string>

namespace orvhost::validate {
namespace {

// An extension no filter gives, for the path that must be refused.
constexpr wchar_t otherExtension[] = L".validate-other";

std::wstring inCase(std::wstring text, bool upper) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(upper ? std::towupper(c) : std::towlower(c));
  return text;
}

}  // namespace

Findings checkCanImport(Session& session) {
  Findings findings;
  const auto ask = [&](const std::wstring& path, bool accept, const std::wstring& extension) {
    bool answer = !accept;
    if (auto thrown = session.call("canImport", [&] { answer = session.importer->canImport(path.c_str()); })) {
      findings.push_back(*thrown);
    } else if (answer != accept) {
      findings.push_back("\"" + utf8(path) + "\" is " +
                         (accept ? "refused, though the filters give *" + utf8(extension)
                                 : std::string("accepted, though no filter gives its extension")));
    } else if (accept && !session.acceptedPath) {
      session.acceptedPath = path;
    }
  };
  for (const std::wstring& extension : session.extensions) {
    ask(L"model" + inCase(extension, false), true, extension);
    ask(L"MODEL" + inCase(extension, true), true, extension);
  }
  ask(std::wstring(L"model") + otherExtension, false, otherExtension);
  return findings;
}

Findings checkCreateDocument(Session& session) {
  const std::wstring& path = *session.acceptedPath;
  const std::string shown = "\"" + utf8(path) + "\"";
  std::shared_ptr<orvimp::IDocument> document;
  if (auto thrown = session.call("createDocument",
                                 [&] { document = session.importer->createDocument(nullptr, path.c_str()); }))
    return {*thrown};
  if (!document) return {"createDocument gives no document for " + shown + ", which canImport accepts"};
  // As an assembly opens one of its parts: the document is the new one's parent.
  std::shared_ptr<orvimp::IDocument> part;
  const long before = document.use_count();
  if (auto thrown = session.call("createDocument", [&] {
        part = session.importer->createDocument(document, path.c_str()),
        session.released("createDocument", "parent", document, before);
      }))
    return {*thrown};
  if (!part) return {"createDocument gives no document for " + shown + " with a parent document"};
  return {};
}

}  // namespace orvhost::validate
