# Run by ctest after the end-to-end suite has been listed into e2e_tests_TESTS. A whole game
# lasts several minutes on the game's one-second clock, and in the sanitizer build it is the
# soak; the storm and the faults run alone under labels of their own.
foreach(name IN LISTS e2e_tests_TESTS)
    if(name MATCHES "^WholeGame\\.")
        set_tests_properties(${name} PROPERTIES LABELS "display;long;soak" TIMEOUT 1800)
    elseif(name MATCHES "^Storm\\.")
        set_tests_properties(${name} PROPERTIES LABELS "display;storm")
    elseif(name MATCHES "^(Faults/|ServerLoss\\.|ChildDescriptors\\.)")
        set_tests_properties(${name} PROPERTIES LABELS "display;faults")
    endif()
endforeach()
