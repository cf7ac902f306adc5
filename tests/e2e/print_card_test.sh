#!/bin/bash
# Printing from the punch screen in a real terminal: the register's printer port is "FILE:",
# so the card goes to the print file WLSDFKJN.DRY in the store's folder. A punch, then [TAB]:
# the print file holds the card with the punch, line for line, and the card is on the screen
# again as it was.
# Usage: print_card_test.sh BUILD_DIR
source "$(dirname "$0")/road.sh" "$@"

punch_to_print "FILE:"
before=$(screen_text | sed -n '2,24p')
keys Tab
wait_until '[ -s "$store/WLSDFKJN.DRY" ]' || fail "no print file after [TAB]"
sleep 0.3
[ "$before" = "$(screen_text | sed -n '2,24p')" ] || fail "the card is not shown again as it was"
printed_card_ok "$store/WLSDFKJN.DRY" || fail "the print file does not hold the card"
leave_to_register
echo "PASS"
