// ResolveURLReference and RemoveDotSegments.

#include "protocols/http/URLReference.h"

namespace {

// The five components of Appendix B; an absent one differs from an empty one.
struct s_URIComponents {
    c_StringView m_Scheme;
    c_StringView m_Authority;
    c_StringView m_Path;
    c_StringView m_Query;
    c_StringView m_Fragment;
    bool m_HasScheme = false;
    bool m_HasAuthority = false;
    bool m_HasQuery = false;
    bool m_HasFragment = false;
};

s_URIComponents SplitURIReference(c_StringView text) {
    s_URIComponents parts;
    const int schemeEnd = text.FindFirstOf({':', '/', '?', '#'});
    if (schemeEnd > 0 && text.begin()[schemeEnd] == ':') {
        parts.m_HasScheme = true;
        parts.m_Scheme = text.Left(schemeEnd);
        text = text.RightFrom(schemeEnd + 1);
    }
    if (text.StartsWith("//")) {
        const int end = text.FindFirstOf({'/', '?', '#'}, 2);
        const int length = end < 0 ? text.GetLength() : end;
        parts.m_HasAuthority = true;
        parts.m_Authority = text.Mid(2, length - 2);
        text = text.RightFrom(length);
    }
    const int fragment = text.Find('#');
    if (fragment >= 0) {
        parts.m_HasFragment = true;
        parts.m_Fragment = text.RightFrom(fragment + 1);
        text = text.Left(fragment);
    }
    const int query = text.Find('?');
    if (query >= 0) {
        parts.m_HasQuery = true;
        parts.m_Query = text.RightFrom(query + 1);
        text = text.Left(query);
    }
    parts.m_Path = text;
    return parts;
}

// Section 5.2.3: the reference's path after the base path's last "/".
c_String MergePaths(const s_URIComponents& base, const c_StringView& path) {
    if (base.m_HasAuthority && base.m_Path.IsEmpty()) {
        return Concat({"/", path});
    }
    return Concat({base.m_Path.Left(base.m_Path.ReverseFind('/') + 1), path});
}

// Section 5.3.
c_String Recompose(const s_URIComponents& parts, const c_StringView& path) {
    c_String text;
    if (parts.m_HasScheme) {
        text += parts.m_Scheme;
        text += ":";
    }
    if (parts.m_HasAuthority) {
        text += "//";
        text += parts.m_Authority;
    }
    text += path;
    if (parts.m_HasQuery) {
        text += "?";
        text += parts.m_Query;
    }
    if (parts.m_HasFragment) {
        text += "#";
        text += parts.m_Fragment;
    }
    return text;
}

void RemoveLastSegment(c_String& output) {
    const int slash = output.ReverseFind('/');
    output.Truncate(slash < 0 ? 0 : slash);
}

} // namespace

c_String RemoveDotSegments(const c_StringView& path) {
    c_StringView input = path;
    c_String output;
    while (!input.IsEmpty()) {
        if (input.StartsWith("../") || input.StartsWith("./")) {
            input = input.RightFrom(input.Find('/') + 1);
        } else if (input.StartsWith("/./") || input == "/.") {
            input = input.RightFrom(2).IsEmpty() ? input.Left(1) : input.RightFrom(2);
        } else if (input.StartsWith("/../") || input == "/..") {
            input = input.RightFrom(3).IsEmpty() ? input.Left(1) : input.RightFrom(3);
            RemoveLastSegment(output);
        } else if (input == "." || input == "..") {
            input = c_StringView();
        } else {
            const int next = input.FindFirstOf({'/'}, 1);
            const int length = next < 0 ? input.GetLength() : next;
            output += input.Left(length);
            input = input.RightFrom(length);
        }
    }
    return output;
}

c_String ResolveURLReference(const c_StringView& base, const c_StringView& reference) {
    const s_URIComponents baseParts = SplitURIReference(base);
    s_URIComponents target = SplitURIReference(reference);
    if (target.m_HasScheme || target.m_HasAuthority) {
        // Scheme and authority come from the reference: only the path needs its dots removed.
        if (!target.m_HasScheme) {
            target.m_HasScheme = baseParts.m_HasScheme;
            target.m_Scheme = baseParts.m_Scheme;
        }
        return Recompose(target, RemoveDotSegments(target.m_Path));
    }
    target.m_HasScheme = baseParts.m_HasScheme;
    target.m_Scheme = baseParts.m_Scheme;
    target.m_HasAuthority = baseParts.m_HasAuthority;
    target.m_Authority = baseParts.m_Authority;
    if (target.m_Path.IsEmpty()) {
        if (!target.m_HasQuery) {
            target.m_HasQuery = baseParts.m_HasQuery;
            target.m_Query = baseParts.m_Query;
        }
        return Recompose(target, baseParts.m_Path);
    }
    if (target.m_Path.StartsWith("/")) {
        return Recompose(target, RemoveDotSegments(target.m_Path));
    }
    return Recompose(target, RemoveDotSegments(MergePaths(baseParts, target.m_Path)));
}
