# Common compile flags for our own targets (not for GoogleTest & co).
function(te_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wconversion
    -Wno-sign-conversion -Wno-missing-field-initializers)
endfunction()
