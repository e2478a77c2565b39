// The window classes of the forms layer, registered once by the first form.
#pragma once

namespace FormsClasses {
inline constexpr const char* Form = "UsagramForm";        // top-level forms
inline constexpr const char* Control = "UsagramControl";  // controls that paint themselves
}  // namespace FormsClasses
