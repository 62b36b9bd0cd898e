/* A transmit-only UART, enough for a boot message. */
static volatile unsigned *const uart_baud = (volatile unsigned *)0x40011008u;

void uart_init(unsigned baud) {
    *uart_baud = 16000000u / baud;
}
