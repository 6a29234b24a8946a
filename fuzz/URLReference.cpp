// Fuzz target: the reference resolution and the redirect checks on any base and reference. Dot
// removal leaves no "." or ".." segment and is stable when repeated; a result never outgrows its
// inputs; a reference with a scheme ignores the base; an accepted redirect target is a valid http or
// https URL that never takes an https request to http.

#include "protocols/http/URLReference.h"
#include "fuzz/FuzzInput.h"
#include "protocols/http/RedirectTarget.h"
#include "protocols/http/c_HTTPURLParts.h"

namespace {

c_StringView View(const std::vector<std::uint8_t>& bytes) {
    return c_StringView(reinterpret_cast<const char*>(bytes.data()), int(bytes.size()));
}

void CheckDotRemoval(const c_StringView& path) {
    const c_String once = RemoveDotSegments(path);
    FUZZ_CHECK(once.GetLength() <= path.GetLength());
    FUZZ_CHECK(RemoveDotSegments(once) == once);
    const c_String framed = "/" + once + "/";
    FUZZ_CHECK(!framed.Contains("/./") && !framed.Contains("/../"));
}

bool HasScheme(const c_StringView& reference) {
    const int end = reference.FindFirstOf({':', '/', '?', '#'});
    return end > 0 && reference.begin()[end] == ':';
}

void CheckRedirect(const c_StringView& base, const c_StringView& reference, std::int32_t count) {
    c_String target;
    c_String error;
    if (!GetRedirectTarget(base, reference, count, target, error)) {
        FUZZ_CHECK(target.IsEmpty() && !error.IsEmpty());
        return;
    }
    const c_HTTPURLParts parts = ParseURL(target);
    FUZZ_CHECK(parts.IsValid() && count < MAX_REDIRECTS);
    const bool secure = parts.GetScheme() == c_StringViewNoCase("https");
    FUZZ_CHECK(secure || parts.GetScheme() == c_StringViewNoCase("http"));
    FUZZ_CHECK(secure || ParseURL(base).GetScheme() != c_StringViewNoCase("https"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    c_FuzzInput input(data, size);
    const std::uint32_t baseLength = input.TakeInt(0, 255);
    const std::int32_t count = std::int32_t(input.TakeInt(0, 15));
    const std::vector<std::uint8_t> base = input.TakeBytes(baseLength);
    const std::vector<std::uint8_t> reference = input.TakeRest();
    CheckDotRemoval(View(reference));
    const c_String resolved = ResolveURLReference(View(base), View(reference));
    FUZZ_CHECK(resolved.GetLength() <= int(base.size() + reference.size()) + 2);
    if (HasScheme(View(reference))) {
        FUZZ_CHECK(ResolveURLReference("http://other/x/y?z", View(reference)) == resolved);
    }
    CheckRedirect(View(base), View(reference), count);
    return 0;
}
