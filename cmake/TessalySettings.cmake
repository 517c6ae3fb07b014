include(CheckCXXSourceCompiles)

# Compiler settings shared by our own targets, linked privately; nothing global.
add_library(tessaly_settings INTERFACE)
target_compile_features(tessaly_settings INTERFACE cxx_std_20)
target_compile_options(tessaly_settings INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor>
    $<$<AND:$<CXX_COMPILER_ID:GNU,Clang>,$<BOOL:${TESSALY_WERROR}>>:-Werror>
    # g++ 12 at -O3 reports std::string concatenations as overlapping copies (GCC bug 105651).
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>)

# Windows programs carry their C++ runtime, so they run on a bare Windows (and under Wine)
# without DLLs beside them.
if(MINGW)
    target_link_options(tessaly_settings INTERFACE -static)
endif()

if(TESSALY_SANITIZE)
    set(_flags -fsanitize=${TESSALY_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    set(CMAKE_REQUIRED_FLAGS "${_flags}")
    string(REPLACE ";" " " CMAKE_REQUIRED_FLAGS "${CMAKE_REQUIRED_FLAGS}")
    set(CMAKE_REQUIRED_LINK_OPTIONS ${_flags})
    check_cxx_source_compiles("int main() { return 0; }" TESSALY_SANITIZERS_WORK)
    unset(CMAKE_REQUIRED_FLAGS)
    unset(CMAKE_REQUIRED_LINK_OPTIONS)
    if(NOT TESSALY_SANITIZERS_WORK)
        message(FATAL_ERROR "The compiler cannot build with -fsanitize=${TESSALY_SANITIZE}")
    endif()
    target_compile_options(tessaly_settings INTERFACE ${_flags})
    target_link_options(tessaly_settings INTERFACE ${_flags})
endif()

# Fails the configuration when a Qt library or header reaches a target that must stay plain C++.
function(tessaly_forbid_qt_in target)
    get_target_property(_libs ${target} LINK_LIBRARIES)
    get_target_property(_ilibs ${target} INTERFACE_LINK_LIBRARIES)
    foreach(_lib IN LISTS _libs _ilibs)
        if(_lib MATCHES "Qt[0-9]*::")
            message(FATAL_ERROR "${target} must not link Qt (found ${_lib})")
        endif()
    endforeach()
    get_target_property(_sources ${target} SOURCES)
    get_target_property(_dir ${target} SOURCE_DIR)
    foreach(_src IN LISTS _sources)
        if(NOT IS_ABSOLUTE "${_src}")
            set(_src "${_dir}/${_src}")
        endif()
        file(STRINGS "${_src}" _qt_includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q[A-Za-z]")
        if(_qt_includes)
            message(FATAL_ERROR "${target} must not include Qt headers: ${_src}: ${_qt_includes}")
        endif()
    endforeach()
endfunction()
