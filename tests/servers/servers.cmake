# Windows tests against real FTP servers on loopback.
#
# kestro_ftp_wine_test(name sources... KIND pyftpdlib|vsftpd|faulty
#                      ADDR 127.0.0.N [SCRIPT name] LIBS libs... [TIMEOUT s]
#                      [LOCKS lockname])
#
# Builds a GoogleTest program and registers one ctest entry that starts the
# server on ADDR port 21 (tests/servers/run_with_server.py), runs the program
# under Wine with KESTRO_TEST_FTP_HOST/USER/PASS/ROOT set, and stops the
# server. The server's root folder is <build>/<name>.ftproot and holds an
# empty writable folder "kestro".
#
# Each test has its own address, so tests run in parallel. Addresses:
#   127.0.0.10-19  transfer client (tests/transfer)
#                  10 pyftpdlib, 11 vsftpd, 12 faulty server,
#                  13 left without a server (refused connections)
#   127.0.0.20-39  client posting (30-32 posting, 33 the running client)
#   127.0.0.40-59  manager
#   127.0.0.60-69  updater
#   127.0.0.90-99  benchmarks (bench/ftp-throughput.sh uses 90)
# Passive ports: 40000 + N*20 to +19 (pyftpdlib and vsftpd).
set(KESTRO_FTP_RUNNER "${CMAKE_CURRENT_LIST_DIR}/run_with_server.py")

function(kestro_ftp_wine_test name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(T "" "KIND;ADDR;SCRIPT;TIMEOUT" "LIBS;LOCKS" ${ARGN})
  if(NOT T_KIND OR NOT T_ADDR)
    message(FATAL_ERROR "kestro_ftp_wine_test(${name}): KIND and ADDR are required")
  endif()
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  set(script_args)
  if(T_SCRIPT)
    set(script_args --script ${T_SCRIPT})
  endif()
  add_test(NAME ${name}
           COMMAND /usr/bin/python3 ${KESTRO_FTP_RUNNER} --kind ${T_KIND} --addr ${T_ADDR}
                   --root ${CMAKE_CURRENT_BINARY_DIR}/${name}.ftproot ${script_args}
                   -- ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "wine;ftp")
  if(T_LOCKS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
endfunction()
