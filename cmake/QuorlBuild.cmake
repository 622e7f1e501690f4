# Settings every target of the project shares: warnings, sanitizers, the compiler cache and the
# precompiled headers.

option(QUORL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(QUORL_WERROR "Treat compiler warnings as errors" OFF)

add_compile_options(-Wall -Wextra)
if(QUORL_WERROR)
  add_compile_options(-Werror)
endif()

if(QUORL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# The compiler cache, when installed. Paths below the source folder are taken relative to it, so
# that a clone in another folder finds what this one compiled.
find_program(QUORL_CCACHE ccache)
if(QUORL_CCACHE)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env
    CCACHE_BASEDIR=${PROJECT_SOURCE_DIR}
    CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
    CCACHE_NOHASHDIR=1
    ${QUORL_CCACHE})
endif()

# The headers of Qt and TagLib that nearly every file includes, compiled once per target. A
# precompiled header holds the paths of its build folder, so with the compiler cache a build in
# another folder would never hit the cache: there the cache does the work, and the precompiled
# headers are off unless asked for.
if(QUORL_CCACHE)
  option(QUORL_PCH "Precompile the Qt and TagLib headers" OFF)
else()
  option(QUORL_PCH "Precompile the Qt and TagLib headers" ON)
endif()
set(QUORL_PCH_HEADERS
  <QByteArray> <QHash> <QList> <QObject> <QString> <QStringList> <QVariant>
  <memory> <optional> <vector>)
function(quorl_precompile_headers target)
  if(QUORL_PCH)
    target_precompile_headers(${target} PRIVATE ${QUORL_PCH_HEADERS})
  endif()
endfunction()
