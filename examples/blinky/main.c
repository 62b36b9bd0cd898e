/* Blinks the board's LED once a second. */
#include "main.h"
#include "board.h"
#include "gpio.h"

int main(void) {
    board_init();
    for (;;) {
        gpio_toggle(LED_PIN);
        delay_ms(BLINK_PERIOD_MS / 2);
    }
}
