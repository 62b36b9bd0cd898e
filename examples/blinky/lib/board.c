#include "board.h"
#include "gpio.h"

void uart_init(unsigned baud);

void board_init(void) {
    gpio_configure_output(LED_PIN);
    uart_init(115200u);
}
