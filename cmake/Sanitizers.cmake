# CLIENTI_SANITIZE=ON builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer (use it with CMAKE_BUILD_TYPE=Debug, as scripts/test
# does for build-asan):
# - any report ends the program: UBSan does not recover, so a test cannot pass
#   while printing one;
# - float-cast-overflow is not part of GCC's "undefined" group: a double out of
#   the range of the integer it is converted to is undefined behaviour too;
# - Qt's and the standard library's own checks stay on (Q_ASSERT, QList bounds,
#   std::vector bounds) even if QT_NO_DEBUG were defined.
option(CLIENTI_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(CLIENTI_SANITIZE)
  if(NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    message(WARNING "CLIENTI_SANITIZE is meant for a Debug build (Qt assertions on)")
  endif()
  # Written apart, so that scripts/test can see each in every compile command.
  set(clienti_sanitizers -fsanitize=address -fsanitize=undefined -fsanitize=float-cast-overflow)
  add_compile_options(${clienti_sanitizers} -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_definitions(QT_FORCE_ASSERTS _GLIBCXX_ASSERTIONS)
  add_link_options(${clienti_sanitizers})
endif()
