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

# Headers of an operating system: Win32, POSIX and the libraries the system layer wraps.
set(TESSALY_OS_HEADERS
    "[Ww]indows|[Ww]insock2?|[Ww]s2tcpip|[Ww]in[Ii]net|[Ww]inreg|[Ss]hl[Oo]bj|[Ss]hellapi"
    "|[Ss]etup[Aa]pi|[Nn]ewdev|[Cc]ommctrl|[Cc]ommdlg|[Pp]rsht|[Ww]indowsx"
    "|unistd|dlfcn|fcntl|pthread|dirent|termios|poll|signal|sys/[a-z_]+|curl/[a-z_]+")
string(JOIN "" TESSALY_OS_HEADERS ${TESSALY_OS_HEADERS})

# The sources of `target` from the folders named (relative to the project), as absolute paths.
function(_tessaly_sources_in target folders out)
    get_target_property(_sources ${target} SOURCES)
    get_target_property(_dir ${target} SOURCE_DIR)
    set(_found "")
    foreach(_src IN LISTS _sources)
        if(NOT IS_ABSOLUTE "${_src}")
            set(_src "${_dir}/${_src}")
        endif()
        file(RELATIVE_PATH _relative "${PROJECT_SOURCE_DIR}" "${_src}")
        foreach(_folder IN LISTS folders)
            if(_folder STREQUAL "*")
                list(APPEND _found "${_src}")
                break()
            elseif(_relative MATCHES "^${_folder}/")
                list(APPEND _found "${_src}")
                break()
            endif()
        endforeach()
    endforeach()
    set(${out} "${_found}" PARENT_SCOPE)
endfunction()

# Fails the configuration when one of `sources` includes a header matching `pattern`.
function(_tessaly_refuse_includes what sources pattern)
    foreach(_src IN LISTS sources)
        file(STRINGS "${_src}" _includes
             REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](${pattern})")
        if(_includes)
            message(FATAL_ERROR "${_src} must not include ${what}: ${_includes}")
        endif()
    endforeach()
endfunction()

# Fails the configuration when a Qt library or header reaches a target that must stay plain C++.
function(tessaly_forbid_qt_in target)
    get_target_property(_libs ${target} LINK_LIBRARIES)
    get_target_property(_ilibs ${target} INTERFACE_LINK_LIBRARIES)
    foreach(_lib IN LISTS _libs _ilibs)
        if(_lib MATCHES "Qt[0-9]*::")
            message(FATAL_ERROR "${target} must not link Qt (found ${_lib})")
        endif()
    endforeach()
    _tessaly_sources_in(${target} "*" _sources)
    _tessaly_refuse_includes("Qt headers" "${_sources}" "Q[A-Za-z]")
endfunction()

# The layers as the paths show them: the core and the wizard hold no Qt and no OS header, the
# core's subsystems nothing of the layers above them, and the platform's interfaces nothing but
# each other and the standard library.
function(tessaly_check_layers core)
    tessaly_forbid_qt_in(${core})
    set(_subsystems "device;discovery;interrupts;modulefile;output;actions;resources")
    _tessaly_sources_in(${core} "app;wizard;platform;${_subsystems}" _plain)
    _tessaly_refuse_includes("OS headers" "${_plain}" "${TESSALY_OS_HEADERS}")
    _tessaly_sources_in(${core} "${_subsystems}" _subsystem_sources)
    _tessaly_refuse_includes("headers of the layers above the core" "${_subsystem_sources}"
                             "(app|wizard|gui|system)/")
    _tessaly_sources_in(${core} "platform" _platform)
    _tessaly_refuse_includes("headers of the core" "${_platform}"
                             "(app|wizard|gui|system|device|discovery|interrupts|modulefile|output|actions|resources)/")
endfunction()
