# Full builds dominate CI time, so use ccache when it is installed. The base directory and the
# unhashed working directory let worktrees of the same checkout share one cache.
find_program(NORVIK_CCACHE ccache)
if(NORVIK_CCACHE)
  set(launcher ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} CCACHE_NOHASHDIR=1
               ${NORVIK_CCACHE})
  set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
endif()
