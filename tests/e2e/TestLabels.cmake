# Run by ctest after the end-to-end suite has been listed into e2e_tests_TESTS, and its matrix
# under the other window managers into e2e_<manager>_tests. A whole game
# lasts several minutes on the game's one-second clock, and in the sanitizer build it is the
# soak; the storm and the faults run alone under labels of their own. The longest tests start
# first, so that the rest of the run fits beside them.
foreach(name IN LISTS e2e_tests_TESTS)
    if(name MATCHES "^WholeGame\\.")
        set_tests_properties(${name} PROPERTIES LABELS "display;long;soak" TIMEOUT 1800 COST 1000)
    elseif(name MATCHES "^Storm\\.")
        set_tests_properties(${name} PROPERTIES LABELS "display;storm" COST 500)
    elseif(name MATCHES "^(Faults/|ServerLoss\\.|ChildDescriptors\\.)")
        set_tests_properties(${name} PROPERTIES LABELS "display;faults")
    endif()
endforeach()
foreach(manager i3 xfwm4 metacity icewm twm)
    foreach(name IN LISTS e2e_${manager}_tests)
        set_tests_properties(${name} PROPERTIES LABELS "display;wm")
    endforeach()
endforeach()
